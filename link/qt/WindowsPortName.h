#pragma once
#include <string>

namespace kel {

// The device path Windows opens for a port name: "COM5" gives \\.\COM5. The
// prefix is what makes COM10 and above openable; a name that has a \\ prefix
// already stays as it is. Built on Windows only.
std::wstring WindowsDevicePath(const std::string& port);

}  // namespace kel
