#pragma once
#include <QSerialPort>
#include <string>
#include <utility>

namespace kel {

// What only the operating system can tell about a serial device, where
// QSerialPort folds causes together. One implementation per system:
// QtSerialDevicePosix.cpp and QtSerialDeviceWindows.cpp.

// The system's error code (errno, or a Windows error code) of a plain open of
// `device`, which QSerialPort failed to open with `error`; 0 when the plain
// open tells nothing more.
int PlainOpenError(const std::string& device, QSerialPort::SerialPortError error);

// The port's descriptor (int) or Windows handle, as QSerialPort::handle() gives it.
using NativePortHandle = decltype(std::declval<const QSerialPort&>().handle());

// True when the device behind the open `handle` has gone away (unplugged).
bool DeviceGone(NativePortHandle handle);

}  // namespace kel
