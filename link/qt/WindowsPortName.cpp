#include "WindowsPortName.h"

#include "link/WindowsText.h"

namespace kel {

std::wstring WindowsDevicePath(const std::string& port)
{
    const std::wstring wide = WideFromUtf8(port);
    return wide.starts_with(L"\\\\") ? wide : L"\\\\.\\" + wide;
}

}  // namespace kel
