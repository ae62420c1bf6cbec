#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "link/UsbUart.h"

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
// A file holding that image: two characters a byte, and a final CR LF.
inline constexpr std::size_t kXupMaxFileBytes = 2 * kXupMaxImage + 2;

// The longest block that reaches the box whole. A block's echo must be back
// within the two waits the link gives it; at 19200 baud 8N1 a byte takes 10
// bits on the wire, and the box echoes each byte once it has it, so the
// last echo ends one byte time after the last byte sent.
inline constexpr std::size_t kBitsPerByte = 10;
inline constexpr std::size_t kBlockEchoWindowMs = UsbUart::kBlockEchoMs + UsbUart::kBlockEchoRestMs;
inline constexpr std::size_t kXupMaxBlockBytes = kBlockEchoWindowMs * UsbUart::kBaudRate / kBitsPerByte / 1000 - 1;

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

}  // namespace kel
