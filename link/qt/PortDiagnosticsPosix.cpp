#include "PortDiagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <grp.h>
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

} // namespace

std::string LockHolder(const std::string& device)
{
    // Serial programs lock "LCK..ttyUSB0" for /dev/ttyUSB0; Qt names a device
    // outside /dev by its whole path ("LCK.._tmp_box" for /tmp/box).
    std::string flat = device.starts_with("/dev/") ? device.substr(5) : device;
    if (!flat.empty() && flat[0] == '/')
        flat.erase(0, 1);
    std::replace(flat.begin(), flat.end(), '/', '_');
    const std::string base = QFileInfo(QString::fromStdString(device)).fileName().toStdString();
    for (const char* dir : {"/var/lock/", "/run/lock/"}) {
        for (const std::string& name : {flat, base}) {
            std::ifstream lock(std::string(dir) + "LCK.." + name);
            int pid = 0;
            if (lock >> pid && pid > 0) {
                const std::string process = ProcessName(pid);
                return (process.empty() ? std::string("a process") : process) + " (pid " + std::to_string(pid) + ")";
            }
        }
    }
    return {};
}

std::string DiagnoseOpenFailure(const std::string& device, int error)
{
    if (!QFile::exists(QString::fromStdString(device)))
        return device + " does not exist: is the program box plugged in?";
    if (error == EACCES || error == EPERM) {
        const std::string group = GroupOf(device);
        return "permission denied on " + device + ": install the udev rule 60-kel-program-box.rules (it gives the "
               "logged-in user access), or add yourself to the group '" + (group.empty() ? "dialout" : group)
               + "' and log in again";
    }
    if (error == EBUSY || error == EAGAIN || error == EWOULDBLOCK) {
        const std::string holder = LockHolder(device);
        return device + " is in use by " + (holder.empty() ? std::string("another program") : holder)
               + ": close it and try again";
    }
    const std::string holder = LockHolder(device);
    if (!holder.empty())
        return device + " is locked by " + holder + ": close it and try again";
    return "cannot open " + device + (error ? std::string(": ") + std::strerror(error) : std::string());
}

} // namespace kel
