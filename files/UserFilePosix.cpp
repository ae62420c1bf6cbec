// POSIX: open with O_NONBLOCK so that neither a FIFO without a writer nor a
// device can hold the caller, then decide on what was opened (fstat), not on
// the name, so nothing can be swapped in between.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "UserFile.h"

namespace kel {

namespace {

const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO (named pipe)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a special file";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

UserFile ReadUserFile(const std::string& path, std::size_t maxBytes)
{
    if (path.empty())
        return Refused(FileRefusal::CannotOpen, file_reason::CannotOpen(path, ""));
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        // A device that only opens for writing, or a FIFO opened elsewhere, may say ENXIO.
        const int error = errno;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return Refused(FileRefusal::NotRegular, file_reason::NotRegular(path, KindOf(st.st_mode)));
        return Refused(FileRefusal::CannotOpen, file_reason::CannotOpen(path, std::strerror(error)));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Refused(FileRefusal::ReadFailed, file_reason::ReadFailed(path, std::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        return Refused(FileRefusal::NotRegular, file_reason::NotRegular(path, KindOf(st.st_mode)));
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        return Refused(FileRefusal::TooLarge,
                       file_reason::TooLarge(path, static_cast<std::uintmax_t>(st.st_size), maxBytes));

    // Room for what the file says it holds and one byte more, to see one that
    // grew; more room only as it keeps growing, never past maxBytes + 1.
    UserFile file;
    file.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    while (true) {
        if (got == file.bytes.size()) {
            if (got > maxBytes)
                break;
            file.bytes.resize(std::min(maxBytes + 1, got * 2));
        }
        const ssize_t n = ::read(fd.get(), file.bytes.data() + got, file.bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Refused(FileRefusal::ReadFailed, file_reason::ReadFailed(path, std::strerror(errno)));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got > maxBytes)
        return Refused(FileRefusal::TooLarge, file_reason::TooLarge(path, got, maxBytes));
    file.bytes.resize(got);
    file.bytes.shrink_to_fit();
    return file;
}

}  // namespace kel
