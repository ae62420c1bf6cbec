// Program box firmware files: the bytes of a .xup file read into the image,
// and the image walked block by block.
#include "FuzzSupport.h"
#include "update/XupFile.h"

namespace {

// By copy: a block of exactly the image's size, so a read past it is caught.
void CheckBlockWalk(const std::vector<std::uint8_t> image)
{
    const std::vector<kel::XupBlock> blocks = kel::XupBlocks(image);
    KEL_FUZZ_CHECK(blocks.empty() == image.empty());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const kel::XupBlock& b = blocks[i];
        KEL_FUZZ_CHECK(b.offset == offset && offset < image.size());
        const std::size_t left = image.size() - offset;
        const std::size_t stated = left >= 2 ? std::size_t{image[offset]} * 256 + image[offset + 1] : 0;
        KEL_FUZZ_CHECK(b.bodyLength == stated && b.size == stated + 2);
        KEL_FUZZ_CHECK(b.overruns == (b.size > left));
        // Only the last block may run past the end; the others fit whole.
        KEL_FUZZ_CHECK(!b.overruns || i + 1 == blocks.size());
        offset += b.size;
    }
    if (!blocks.empty() && !blocks.back().overruns)
        KEL_FUZZ_CHECK(offset == image.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = kel::fuzz::AsText(data, size);
    const std::vector<std::uint8_t> image = kel::XupImage(bytes);
    // Two text-mode characters a byte; a lone last one is dropped.
    const std::string text = kel::fuzz::ReferenceTextMode(bytes);
    KEL_FUZZ_CHECK(image.size() == text.size() / 2);
    for (std::size_t i = 0; i < image.size(); ++i)
        KEL_FUZZ_CHECK(image[i] == kel::fuzz::ReferenceHexPair(text[2 * i], text[2 * i + 1]));

    CheckBlockWalk(image);
    // The raw bytes too reach lengths and cuts that well-formed hex makes rare.
    CheckBlockWalk(std::vector<std::uint8_t>(data, data + size));
    return 0;
}
