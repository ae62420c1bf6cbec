#pragma once
#include <cstddef>
#include <cstdint>

namespace kel::sim {

// CRC-16/CCITT-FALSE: polynomial 0x1021, initial value 0xFFFF, no reflection,
// no final xor. The check value of a box firmware block.
std::uint16_t Crc16CcittFalse(const std::uint8_t* data, std::size_t count);

}  // namespace kel::sim
