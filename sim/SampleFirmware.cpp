#include "sim/SampleFirmware.h"

#include <algorithm>

#include "sim/Crc16.h"

namespace kel::sim {

namespace {

void AppendHex(std::string& text, std::uint8_t byte)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
}

}  // namespace

std::vector<std::uint8_t> SampleFirmwareBytes(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = 0x2F6B1D3Au;
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

std::string HexRecordLine(std::uint8_t type, std::uint16_t address, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> raw{static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
                                  static_cast<std::uint8_t>(address & 0xFF), type};
    raw.insert(raw.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (auto b : raw)
        sum += b;
    raw.push_back(static_cast<std::uint8_t>(0x100 - (sum & 0xFF)));
    std::string line = ":";
    for (auto b : raw)
        AppendHex(line, b);
    return line;
}

std::string MakeZrvText(const std::vector<std::uint8_t>& data)
{
    constexpr std::size_t kPerRecord = 16;
    std::string text;
    for (std::size_t offset = 0; offset < data.size(); offset += kPerRecord) {
        if (offset > 0 && offset % 0x10000 == 0) {
            const auto upper = static_cast<std::uint16_t>(offset >> 16);
            text += HexRecordLine(0x04, 0, {static_cast<std::uint8_t>(upper >> 8), static_cast<std::uint8_t>(upper)});
            text += '\n';
        }
        const std::size_t end = std::min(data.size(), offset + kPerRecord);
        text += HexRecordLine(0x00, static_cast<std::uint16_t>(offset & 0xFFFF),
                              std::vector<std::uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(offset),
                                                        data.begin() + static_cast<std::ptrdiff_t>(end)));
        text += '\n';
    }
    text += HexRecordLine(0x01, 0, {});
    text += '\n';
    return text;
}

std::vector<std::uint8_t> MakeXupImage(const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> image;
    for (std::size_t offset = 0; offset < data.size(); offset += kXupPayloadPerBlock) {
        const std::size_t end = std::min(data.size(), offset + kXupPayloadPerBlock);
        const std::size_t length = end - offset + 2;
        const std::uint16_t crc = Crc16CcittFalse(data.data() + offset, end - offset);
        image.push_back(static_cast<std::uint8_t>(length >> 8));
        image.push_back(static_cast<std::uint8_t>(length & 0xFF));
        image.insert(image.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                     data.begin() + static_cast<std::ptrdiff_t>(end));
        image.push_back(static_cast<std::uint8_t>(crc >> 8));
        image.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    }
    image.push_back(0);
    image.push_back(0);
    return image;
}

std::string MakeXupText(const std::vector<std::uint8_t>& data)
{
    std::string text;
    for (auto b : MakeXupImage(data))
        AppendHex(text, b);
    return text;
}

}  // namespace kel::sim
