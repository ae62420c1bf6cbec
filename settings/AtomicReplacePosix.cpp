#include "AtomicReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kel {

bool ReplaceFileAtomically(const std::string& from, const std::string& to, std::string& why)
{
    // rename(2) replaces `to` in one step: readers see the old file or the new one.
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    why = "cannot replace " + to + ": " + std::strerror(errno);
    return false;
}

} // namespace kel
