#include "QtSerialDeviceOs.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kel {

int PlainOpenError(const std::string& device, QSerialPort::SerialPortError error)
{
    // A device that opens plainly but not through QSerialPort is locked.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno;
    ::close(fd);
    return error == QSerialPort::PermissionError ? EBUSY : 0;
}

bool DeviceGone(NativePortHandle handle)
{
    // A device that went away hangs the terminal up.
    pollfd pfd{handle, POLLIN, 0};
    return pfd.fd >= 0 && ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace kel
