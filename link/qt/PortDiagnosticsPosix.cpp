#include "PortDiagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {

namespace {

std::string GroupOf(const std::string& device)
{
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return {};
    const group* g = ::getgrgid(st.st_gid);
    return g ? g->gr_name : std::to_string(st.st_gid);
}

std::string ProcessName(int pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

}  // namespace

std::optional<DeviceLock> FindDeviceLock(const std::string& device, const std::vector<std::string>& lockDirs)
{
    // Serial programs lock "LCK..ttyUSB0" for /dev/ttyUSB0; Qt names a device
    // outside /dev by its whole path ("LCK.._tmp_box" for /tmp/box).
    std::string flat = device.starts_with("/dev/") ? device.substr(5) : device;
    if (!flat.empty() && flat[0] == '/')
        flat.erase(0, 1);
    std::replace(flat.begin(), flat.end(), '/', '_');
    const std::string base = QFileInfo(QString::fromStdString(device)).fileName().toStdString();
    for (const std::string& dir : lockDirs) {
        for (const std::string& name : {flat, base}) {
            const std::string file = dir + "LCK.." + name;
            std::ifstream lock(file);
            int pid = 0;
            if (lock >> pid && pid > 0) {
                // EPERM: the process runs, under another user.
                const bool running = ::kill(pid, 0) == 0 || errno == EPERM;
                return DeviceLock{file, pid, running};
            }
        }
    }
    return std::nullopt;
}

std::string DescribeLock(const std::string& device, const DeviceLock& lock)
{
    if (!lock.running)
        return device + " is blocked by the lock file " + lock.file + " of process " + std::to_string(lock.pid)
               + ", which no longer runs: remove that file (rm " + lock.file
               + ", with sudo if it is not yours) "
                 "and try again";
    const std::string process = ProcessName(lock.pid);
    return device + " is in use by " + (process.empty() ? std::string("a process") : process) + " (pid "
           + std::to_string(lock.pid) + "): close it and try again";
}

std::string DiagnoseOpenFailure(const std::string& device, int error)
{
    if (device.empty())
        return "no device name was given";
    if (error == ELOOP)
        return device + " is a symbolic link that loops (too many levels of symbolic links)";
    if (!QFile::exists(QString::fromStdString(device))) {
        const QFileInfo link(QString::fromStdString(device));
        if (link.isSymLink())
            return device + " is a symbolic link to " + link.symLinkTarget().toStdString()
                   + ", which does not exist: is the program box plugged in?";
        return device + " does not exist: is the program box plugged in?";
    }
    if (error == EACCES || error == EPERM) {
        const std::string group = GroupOf(device);
        return "permission denied on " + device
               + ": install the udev rule 60-kel-program-box.rules (it gives the "
                 "logged-in user access), or add yourself to the group '"
               + (group.empty() ? "dialout" : group) + "' and log in again";
    }
    const auto lock = FindDeviceLock(device);
    if (lock)
        return DescribeLock(device, *lock);
    if (error == EBUSY || error == EAGAIN || error == EWOULDBLOCK)
        return device + " is in use by another program: close it and try again";
    return "cannot open " + device + (error ? std::string(": ") + std::strerror(error) : std::string());
}

}  // namespace kel
