#include "sim/BoxLoader.h"

#include "sim/Crc16.h"

namespace kel::sim {

std::optional<BoxLoader::Block> BoxLoader::OnByte(std::uint8_t byte)
{
    if (headerBytes_ == 0) {
        length_ = static_cast<std::size_t>(byte) << 8;
        headerBytes_ = 1;
        return std::nullopt;
    }
    if (headerBytes_ == 1) {
        length_ |= byte;
        headerBytes_ = 2;
        body_.clear();
    } else {
        body_.push_back(byte);
    }
    if (body_.size() < length_)
        return std::nullopt;

    Block block;
    block.body = std::move(body_);
    block.endOfTransfer = length_ == 0;
    block.checkOk = block.endOfTransfer || BodyCheckMatches(block.body);
    DropPartial();
    return block;
}

void BoxLoader::DropPartial()
{
    headerBytes_ = 0;
    length_ = 0;
    body_.clear();
}

void BoxLoader::Accept(const Block& block)
{
    if (block.endOfTransfer) {
        ended_ = true;
        return;
    }
    accepted_.push_back(block.body);
    if (block.body.size() >= 2)
        image_.insert(image_.end(), block.body.begin(), block.body.end() - 2);
}

void BoxLoader::Reset()
{
    *this = BoxLoader{};
}

bool BoxLoader::BodyCheckMatches(const std::vector<std::uint8_t>& body)
{
    if (body.size() < 2)
        return false;
    const std::size_t payload = body.size() - 2;
    const std::uint16_t crc = Crc16CcittFalse(body.data(), payload);
    return body[payload] == (crc >> 8) && body[payload + 1] == (crc & 0xFF);
}

}  // namespace kel::sim
