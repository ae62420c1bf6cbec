#include "FileSave.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "AtomicReplace.h"

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#define KEL_SYNC(fd) ::_commit(fd)  // FlushFileBuffers on the file's handle
#define KEL_PID _getpid()
#else
#include <unistd.h>
#define KEL_SYNC(fd) ::fsync(fd)
#define KEL_PID ::getpid()
#endif

namespace kel {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40;  // as the kernel follows them
constexpr int kTempNameAttempts = 16;

std::string FolderText(const fs::path& folder)
{
    return folder.empty() ? std::string(".") : folder.string();
}

// The file a chain of symbolic links ends at (the path itself when it is none).
// A dangling link ends at the name it points to, which the save then creates.
bool FollowLinks(fs::path& path, std::string& why)
{
    // A chain of kMaxLinks links is followed, as the kernel follows it; one
    // link more and the chain counts as a loop.
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return true;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) {
            why = SaveErrorText(ec.value(), FolderText(path.parent_path()));
            return false;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    why = SaveErrorText(ELOOP, FolderText(path.parent_path()));
    return false;
}

const char* KindOf(fs::file_type type)
{
    switch (type) {
    case fs::file_type::directory: return "a folder";
    case fs::file_type::character:
    case fs::file_type::block: return "a device";
    case fs::file_type::fifo: return "a pipe (FIFO)";
    case fs::file_type::socket: return "a socket";
    default: return "not a regular file";
    }
}

bool AllDigits(const std::string& text, char alsoAllowed = '0')
{
    return !text.empty() && text.find_first_not_of(std::string("0123456789") + alsoAllowed) == std::string::npos;
}

// Ours: ".kel-save-PID-N.tmp", and "TARGET.part-N" of earlier versions.
bool IsOurTemp(const std::string& name, const std::string& target)
{
    const std::string prefix = kTempPrefix;
    const std::string suffix = kTempSuffix;
    if (name.size() > prefix.size() + suffix.size() && name.starts_with(prefix) && name.ends_with(suffix))
        return AllDigits(name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()), '-');
    const std::string older = target + ".part-";
    return name.starts_with(older) && AllDigits(name.substr(older.size()));
}

// Temporary files a killed run left behind; a save takes milliseconds, so
// one older than a minute belongs to nobody.
void RemoveStaleTemps(const fs::path& folder, const std::string& target)
{
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!IsOurTemp(it->path().filename().string(), target) || !it->is_regular_file(ec))
            continue;
        const auto written = fs::last_write_time(it->path(), ec);
        if (!ec && now - written > std::chrono::seconds(kStaleTempSeconds))
            fs::remove(it->path(), ec);
    }
}

std::FILE* CreateTemp(const fs::path& folder, fs::path& temp, int& error)
{
    static std::atomic<unsigned> counter = 0;
    error = 0;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        const std::string name =
            std::string(kTempPrefix) + std::to_string(KEL_PID) + "-" + std::to_string(counter++) + kTempSuffix;
        temp = folder / name;
        errno = 0;
        if (std::FILE* f = std::fopen(temp.string().c_str(), "wbx"))
            return f;
        error = errno;
        if (error != EEXIST)
            break;
    }
    return nullptr;
}

int WriteAndSync(std::FILE* f, const std::uint8_t* data, std::size_t size)
{
    errno = 0;
    if (std::fwrite(data, 1, size, f) != size || std::fflush(f) != 0)
        return errno ? errno : EIO;
    if (KEL_SYNC(::fileno(f)) != 0)
        return errno;
    return 0;
}

}  // namespace

std::string SaveErrorText(int error, const std::string& folder)
{
    switch (error) {
    case EACCES:
    case EPERM: return "you are not allowed to write in the folder " + folder;
    case EROFS: return "the folder " + folder + " is on a read-only file system";
    case ENOSPC: return "the disk is full";
#ifdef EDQUOT
    case EDQUOT: return "your disk quota is used up";
#endif
    case EFBIG: return "the file is larger than this system allows";
    case ENOENT: return "the folder " + folder + " does not exist";
    case ENOTDIR: return "a part of the path is not a folder";
    case ENAMETOOLONG: return "the name is longer than the file system allows";
    case ELOOP: return "the symbolic links of this name go round in a loop";
    case EIO: return "the disk reported an input/output error";
    default: return std::strerror(error);
    }
}

bool SaveFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size, std::string& why)
{
    fs::path target(path);
    if (!FollowLinks(target, why))
        return false;
    const fs::path folder = target.parent_path();
    std::error_code ec;
    const fs::file_status existing = fs::status(target, ec);
    const bool exists = fs::exists(existing);
    if (exists && !fs::is_regular_file(existing)) {
        why = target.string() + " is " + KindOf(existing.type()) + ", not a file a profile can be saved to";
        return false;
    }
    RemoveStaleTemps(folder, target.filename().string());

    fs::path temp;
    int error = 0;
    std::FILE* f = CreateTemp(folder, temp, error);
    if (!f) {
        why = SaveErrorText(error ? error : EIO, FolderText(folder));
        return false;
    }
    // The replacement gets the old file's permissions before any byte is in it.
    if (exists)
        fs::permissions(temp, existing.permissions(), fs::perm_options::replace, ec);
    error = WriteAndSync(f, data, size);
    errno = 0;
    if (std::fclose(f) != 0 && error == 0)
        error = errno ? errno : EIO;
    if (error == 0 && ReplaceFileAtomically(temp.string(), target.string(), why))
        return true;
    if (error != 0)
        why = SaveErrorText(error, FolderText(folder));
    fs::remove(temp, ec);
    return false;
}

}  // namespace kel
