#include "QtSerialDeviceOs.h"

#include <windows.h>

#include "WindowsPortName.h"

namespace kel {

int PlainOpenError(const std::string& device, QSerialPort::SerialPortError)
{
    // QSerialPort opens COM ports exclusively (no sharing, no lock file), so a
    // port another program holds fails here with ERROR_ACCESS_DENIED too.
    const HANDLE h = ::CreateFileW(WindowsDevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return static_cast<int>(::GetLastError());
    ::CloseHandle(h);
    return 0;
}

bool DeviceGone(NativePortHandle handle)
{
    // The driver of an unplugged USB bridge refuses every request on the
    // handle that is still open; asking for the queue counts is harmless.
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return true;
    DWORD errors = 0;
    COMSTAT status{};
    return ::ClearCommError(handle, &errors, &status) == 0;
}

}  // namespace kel
