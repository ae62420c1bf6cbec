#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kel {

// Why a serial device could not be opened, with what to do about it, in one
// line a user can act on. `error` is the system's error code from a plain open
// (errno, or a Windows error code; 0 when unknown). One implementation per
// system: PortDiagnosticsPosix.cpp, PortDiagnosticsWindows.cpp.
std::string DiagnoseOpenFailure(const std::string& device, int error);

// The USB serial devices that are present, as "ttyUSB0 (10c4:ea60 CP2102 ...)",
// for the "no program box" case.
std::string DescribeUsbSerialDevices();

// POSIX only (Windows has no lock files): the lock file of a serial device
// (LCK..NAME in /var/lock or /run/lock) and the process it names.
struct DeviceLock {
    std::string file;
    int pid = 0;
    bool running = false;  // false: the process is gone and the lock is stale
};
std::optional<DeviceLock> FindDeviceLock(const std::string& device,
                                         const std::vector<std::string>& lockDirs = {"/var/lock/", "/run/lock/"});

// What to say about a port that cannot be opened because of `lock`.
std::string DescribeLock(const std::string& device, const DeviceLock& lock);

}  // namespace kel
