#include "PortDiagnostics.h"

#include <windows.h>

#include "link/WindowsText.h"

namespace kel {

// Windows keeps no lock files (QSerialPort opens a COM port exclusively), so
// FindDeviceLock and DescribeLock have no counterpart here.

std::string DiagnoseOpenFailure(const std::string& device, int error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return device + " does not exist: is the program box plugged in? " + DescribeUsbSerialDevices();
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // Windows grants a COM port to one program at a time and does not
        // tell other programs which one holds it.
        return device
               + " is in use by another program (Windows does not say which): close the other "
                 "serial program and try again";
    default: return "cannot open " + device + (error ? ": " + WindowsErrorText(static_cast<unsigned long>(error)) : "");
    }
}

}  // namespace kel
