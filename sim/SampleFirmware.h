#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kel::sim {

// Made-up firmware for trying the updates out; no real device runs it.

// The data bytes of a sample image: a fixed pseudo-random pattern.
std::vector<std::uint8_t> SampleFirmwareBytes(std::size_t count);

// ESC firmware (.zrv): Intel-HEX text, upper-case digits, one record per line,
// 16 data bytes per data record from address 0, an extended linear address
// record before each further 64 KiB, and the end-of-file record.
std::string MakeZrvText(const std::vector<std::uint8_t>& data);

// Box firmware (.xup) as a byte image: blocks of a 2-byte big-endian length L
// and L body bytes, the body being up to kXupPayloadPerBlock data bytes and
// their CRC-16/CCITT-FALSE (big-endian); a block of length 0 ends it.
inline constexpr std::size_t kXupPayloadPerBlock = 126;
std::vector<std::uint8_t> MakeXupImage(const std::vector<std::uint8_t>& data);
// The image as the file holds it: upper-case hexadecimal pairs, no line ends.
std::string MakeXupText(const std::vector<std::uint8_t>& data);

// One Intel-HEX record line (with its checksum), e.g. ":00000001FF".
std::string HexRecordLine(std::uint8_t type, std::uint16_t address, const std::vector<std::uint8_t>& data);

}  // namespace kel::sim
