#pragma once
#include <string>

namespace kel {

// Why a serial device could not be opened, with what to do about it, in one
// line a user can act on. `error` is the system's error code from a plain open
// (errno, or a Windows error code; 0 when unknown). One implementation per
// system: PortDiagnosticsPosix.cpp, PortDiagnosticsWindows.cpp.
std::string DiagnoseOpenFailure(const std::string& device, int error);

// The USB serial devices that are present, as "ttyUSB0 (10c4:ea60 CP2102 ...)",
// for the "no program box" case.
std::string DescribeUsbSerialDevices();

// The process named in the device's lock file (/var/lock/LCK..NAME, /run/lock),
// as "NAME (pid N)", or empty; always empty on Windows, which has no lock files.
std::string LockHolder(const std::string& device);

} // namespace kel
