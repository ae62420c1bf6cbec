#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Program box firmware (*.xup): one run of hexadecimal digit pairs, read two
// characters at a time from the text-mode view of the file (CR LF is one
// character). Line ends are not skipped: one inside the data becomes part of
// a pair, counting 0. A lone last character is dropped.
//
// The image is a sequence of blocks: a 2-byte big-endian body length L, then
// L body bytes. A block goes out whole, L + 2 bytes.

// The program box's loader takes at most this many image bytes.
inline constexpr std::size_t kXupMaxImage = 65536;

std::vector<std::uint8_t> XupImage(std::string_view fileBytes);

struct XupBlock {
    std::size_t offset = 0;      // in the image
    std::size_t bodyLength = 0;  // L as stated; 0 when the length field itself is cut
    std::size_t size = 0;        // L + 2
    bool overruns = false;       // runs past the end of the image
};

// The blocks of an image in order; the walk ends at the end of the image or
// at the first block that runs past it (which is then the last entry).
std::vector<XupBlock> XupBlocks(const std::vector<std::uint8_t>& image);

// Why an image must not be sent, in words for the user; none when it may go.
std::optional<std::string> XupRefusal(const std::vector<std::uint8_t>& image);

} // namespace kel
