// Reading a file the user named: byte 0 picks what stands at the path, byte 1
// the size bound, the rest is the content. The read returns at once, with the
// content only for a regular file (or a link to one) within the bound.
#include <sys/stat.h>

#include "FuzzSupport.h"
#include "files/UserFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace fs = std::filesystem;
    enum Shape { kRegular, kLinkToRegular, kFifo, kFolder, kLinkToDevZero, kShapes };
    if (size < 2)
        return 0;
    const auto shape = static_cast<Shape>(data[0] % kShapes);
    const std::size_t bound = data[1];
    const std::string content(kel::fuzz::AsText(data + 2, size - 2));

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
