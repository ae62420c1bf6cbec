#pragma once
#include <string>

namespace kel {

// Text at the edge of the Windows API, which speaks UTF-16 where the program
// speaks UTF-8. Built on Windows only.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

// A Windows error code as the system words it, without the closing full stop.
std::string WindowsErrorText(unsigned long code);

}  // namespace kel
