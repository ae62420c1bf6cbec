#include "XupFile.h"

#include "TextFile.h"
#include "link/UsbUart.h"

namespace kel {

std::vector<std::uint8_t> XupImage(std::string_view fileBytes)
{
    const std::string text = TextModeView(fileBytes);
    std::vector<std::uint8_t> image;
    image.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        image.push_back(UsbUart::HexPairValue(text[i], text[i + 1]));
    return image;
}

std::vector<XupBlock> XupBlocks(const std::vector<std::uint8_t>& image)
{
    std::vector<XupBlock> blocks;
    std::size_t position = 0;
    while (position < image.size()) {
        XupBlock block;
        block.offset = position;
        const std::size_t left = image.size() - position;
        if (left >= 2)
            block.bodyLength = static_cast<std::size_t>(image[position]) * 256 + image[position + 1];
        block.size = block.bodyLength + 2;
        block.overruns = block.size > left;
        blocks.push_back(block);
        if (block.overruns)
            break;
        position += block.size;
    }
    return blocks;
}

}  // namespace kel
