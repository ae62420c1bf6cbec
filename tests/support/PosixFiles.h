// FIFOs, and /dev/zero behind a link, exist on POSIX systems only; on Windows
// the tests that need them leave those cases out.
#pragma once
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kel::test {

#ifdef _WIN32
inline constexpr bool kHasFifos = false;
inline bool MakeFifo(const std::string&)
{
    return false;
}
#else
inline constexpr bool kHasFifos = true;
inline bool MakeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0600) == 0;
}
#endif

}  // namespace kel::test
