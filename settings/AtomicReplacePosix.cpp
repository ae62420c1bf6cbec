// rename(2) replaces the target in one step; syncing the folder afterwards
// makes the new name survive a power cut.
#include "AtomicReplace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "FileSave.h"

namespace kel {

namespace {
std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

bool ReplaceFileAtomically(const std::string& from, const std::string& to, std::string& why)
{
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        why = "cannot replace " + to + ": " + SaveErrorText(errno, FolderOf(to));
        return false;
    }
    const int folder = ::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);  // best effort: some file systems refuse it on folders
        ::close(folder);
    }
    return true;
}

}  // namespace kel
