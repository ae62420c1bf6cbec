// Windows: opening a file there does not wait on a pipe the way a POSIX FIFO
// does, so a plain open is enough; what is not a regular file is refused
// before it is opened.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "UserFile.h"

namespace kel {

UserFile ReadUserFile(const std::string& path, std::size_t maxBytes)
{
    if (path.empty())
        return Refused(FileRefusal::CannotOpen, file_reason::CannotOpen(path, ""));
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return Refused(FileRefusal::CannotOpen, file_reason::CannotOpen(path, ec ? ec.message() : "no such file"));
    if (std::filesystem::is_directory(status))
        return Refused(FileRefusal::NotRegular, file_reason::NotRegular(path, "a folder"));
    if (!std::filesystem::is_regular_file(status))
        return Refused(FileRefusal::NotRegular, file_reason::NotRegular(path, "a device or special file"));
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes)
        return Refused(FileRefusal::TooLarge, file_reason::TooLarge(path, size, maxBytes));

    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Refused(FileRefusal::CannotOpen, file_reason::CannotOpen(path, "it cannot be opened for reading"));
    UserFile file;
    file.bytes.resize(maxBytes + 1);  // one more than allowed, to see a file that grew
    in.read(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
    if (in.bad())
        return Refused(FileRefusal::ReadFailed, file_reason::ReadFailed(path, "a read error"));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > maxBytes)
        return Refused(FileRefusal::TooLarge, file_reason::TooLarge(path, got, maxBytes));
    file.bytes.resize(got);
    file.bytes.shrink_to_fit();
    return file;
}

}  // namespace kel
