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

std::optional<std::string> XupRefusal(const std::vector<std::uint8_t>& image)
{
    if (image.size() > kXupMaxImage)
        return "The firmware file is too large: it holds " + std::to_string(image.size())
            + " bytes, and the program box takes at most " + std::to_string(kXupMaxImage)
            + ". Nothing was sent.";
    const auto blocks = XupBlocks(image);
    if (!blocks.empty() && blocks.back().overruns) {
        const XupBlock& b = blocks.back();
        const std::size_t left = image.size() - b.offset;
        if (left < 2)
            return "The firmware file is damaged: it ends with a stray byte at offset "
                + std::to_string(b.offset) + " where a block should start. Nothing was sent.";
        return "The firmware file is damaged: the block at offset " + std::to_string(b.offset) + " states "
            + std::to_string(b.bodyLength) + " bytes, but only " + std::to_string(left - 2)
            + " follow. Nothing was sent.";
    }
    return std::nullopt;
}

} // namespace kel
