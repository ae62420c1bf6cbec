// Replays a fuzz target's corpus without libFuzzer: every file of the folder
// named goes through LLVMFuzzerTestOneInput once, in name order, in a heap
// block of exactly its size as libFuzzer hands its inputs over.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(argc == 2 ? argv[1] : "", ec))
        if (entry.is_regular_file())
            files.insert(entry.path());
    if (ec || files.empty()) {
        std::fprintf(stderr, "no corpus files to replay in %s\n", argc == 2 ? argv[1] : "(no folder named)");
        return 1;
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu corpus files replayed\n", files.size());
    return 0;
}
