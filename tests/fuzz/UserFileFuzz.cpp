// Reading a file the user named. Byte 0 picks what stands at the path (a
// regular file, a link to it, a FIFO, a folder, a link to /dev/zero), byte 1
// the size bound, and the rest is the file's content. Whatever it is, the
// read returns at once, and returns the content only for a regular file
// within the bound.
#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "FuzzSupport.h"
#include "files/UserFile.h"

namespace {

namespace fs = std::filesystem;

enum Shape { kRegular, kLinkToRegular, kFifo, kFolder, kLinkToDevZero, kShapes };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const auto shape = static_cast<Shape>(data[0] % kShapes);
    const std::size_t bound = data[1];
    const std::string content(reinterpret_cast<const char*>(data + 2), size - 2);

    const fs::path target = kel::fuzz::WriteScratch("file", content);
    if (target.empty())
        return 0;  // no scratch space: nothing to say about the reader
    const fs::path named = target.parent_path() / "named";
    std::error_code ec;
    fs::remove_all(named, ec);
    switch (shape) {
    case kRegular: fs::rename(target, named, ec); break;
    case kLinkToRegular: fs::create_symlink(target, named, ec); break;
    case kFifo:
        if (::mkfifo(named.c_str(), 0600) != 0)
            return 0;
        break;
    case kFolder: fs::create_directory(named, ec); break;
    case kLinkToDevZero: fs::create_symlink("/dev/zero", named, ec); break;
    case kShapes: break;
    }
    if (ec)
        return 0;

    const kel::UserFile file = kel::ReadUserFile(named.string(), bound);
    KEL_FUZZ_CHECK(file.Read() == file.reason.empty());
    if (shape == kRegular || shape == kLinkToRegular) {
        const bool fits = content.size() <= bound;
        KEL_FUZZ_CHECK(file.refusal == (fits ? kel::FileRefusal::None : kel::FileRefusal::TooLarge));
        KEL_FUZZ_CHECK(file.bytes == (fits ? content : std::string()));
    } else {
        KEL_FUZZ_CHECK(file.refusal == kel::FileRefusal::NotRegular && file.bytes.empty());
    }
    if (!file.Read())
        KEL_FUZZ_CHECK(file.reason.find(named.string()) != std::string::npos);
    return 0;
}
