#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

enum class FileRefusal {
    None,
    CannotOpen,  // missing, no permission, a broken link
    NotRegular,  // a folder, a FIFO, a device, a socket
    TooLarge,    // longer than any real file of its kind
    ReadFailed,  // opened, but reading it failed
};

// A file the user named, read whole, or why it was not.
struct UserFile {
    std::string bytes;
    FileRefusal refusal = FileRefusal::None;
    std::string reason;  // for the user, naming the file; empty when read
    bool Read() const { return refusal == FileRefusal::None; }
};

// Reads the file at `path` (symbolic links followed) when it is a regular
// file of at most `maxBytes` bytes. Opening never waits: a FIFO with no
// writer or a device is refused at once, and a file is never read past
// `maxBytes` + 1 bytes, whatever it claims or however it grows.
UserFile ReadUserFile(const std::string& path, std::size_t maxBytes);

// A file not read, and why.
UserFile Refused(FileRefusal refusal, std::string reason);

// The reasons, worded once for every platform.
namespace file_reason {
std::string CannotOpen(const std::string& path, const std::string& why);
std::string NotRegular(const std::string& path, const char* whatItIs);
std::string TooLarge(const std::string& path, std::uintmax_t size, std::size_t maxBytes);
std::string ReadFailed(const std::string& path, const std::string& why);
}  // namespace file_reason

}  // namespace kel
