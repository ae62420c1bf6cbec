#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// ESC firmware (*.zrv): Intel-HEX text, sent line by line. The updater does
// not interpret a line; it only turns it into bytes:
//   byte 0 is always 0x3A, whatever the line's first character is;
//   byte k (k >= 1) is HexPairValue of characters 2k-1 and 2k;
//   the record has (L + 1) / 2 bytes for a line of L characters.
// Lower-case letters, like every character that is not 0-9 or A-F, count 0.

inline constexpr std::uint8_t kZrvRecordStart = 0x3A;

// The largest firmware image an ESC takes: its controller's program memory.
// ESC controllers carry from 8 KiB to a few hundred KiB; 1 MiB leaves room
// for any of them, so no real file is refused.
inline constexpr std::size_t kEscMaxImage = 1024 * 1024;
// The longest .zrv file that can hold such an image: Intel-HEX lines of at
// least 8 data bytes (hex writers use 16 or 32), each ":08AAAA00", 16
// digits, a checksum and CR LF (29 characters for 8 bytes), an extended
// address record before every 64 KiB (17 characters with CR LF) and the
// end record (13). About 3.6 MiB; anything longer is no ESC firmware, and
// the bound keeps what is held in memory small.
inline constexpr std::size_t kZrvMaxFileBytes = kEscMaxImage / 8 * 29 + kEscMaxImage / 65536 * 17 + 13;

std::size_t ZrvRecordLength(std::string_view line);
std::vector<std::uint8_t> ZrvRecord(std::string_view line);

// The lines of the file's bytes as the updater reads them: CR LF and LF end
// a line and are not part of it.
std::vector<std::string> ZrvLines(std::string_view fileBytes);

// Sum of the record lengths of all lines: the first pass before sending.
std::int64_t ZrvTotal(const std::vector<std::string>& lines);

}  // namespace kel
