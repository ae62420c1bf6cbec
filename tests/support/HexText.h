// Reading the hex text of firmware files, independently of the program's own
// readers, so a test can tell what a file holds.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kel::test {

inline std::uint8_t HexByte(const std::string& text, std::size_t at)
{
    return static_cast<std::uint8_t>(std::stoul(text.substr(at, 2), nullptr, 16));
}

// A .xup text as bytes (clean text: digit pairs only), cut into its blocks:
// each a big-endian length and that many body bytes; the length field is kept.
inline std::vector<std::vector<std::uint8_t>> XupBlocksOf(const std::string& text)
{
    std::vector<std::uint8_t> image;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        image.push_back(HexByte(text, i));
    std::vector<std::vector<std::uint8_t>> blocks;
    for (std::size_t at = 0; at + 2 <= image.size();) {
        const std::size_t end = std::min(image.size(), at + 2 + (image[at] * 256u + image[at + 1]));
        blocks.emplace_back(image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(end));
        at = end;
    }
    return blocks;
}

}  // namespace kel::test
