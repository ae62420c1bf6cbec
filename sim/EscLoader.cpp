#include "sim/EscLoader.h"

namespace kel::sim {

void EscLoader::StartRecord()
{
    inRecord_ = true;
    raw_.clear();
}

std::optional<HexRecord> EscLoader::OnRecordByte(std::uint8_t byte)
{
    raw_.push_back(byte);
    // count, address (2), type, data[count], checksum
    const std::size_t needed = raw_[0] + std::size_t{5};
    if (raw_.size() < needed)
        return std::nullopt;

    HexRecord record;
    record.address = static_cast<std::uint16_t>(raw_[1] << 8 | raw_[2]);
    record.type = raw_[3];
    record.data.assign(raw_.begin() + 4, raw_.end() - 1);
    unsigned sum = 0;
    for (auto b : raw_)
        sum += b;
    record.checksumOk = (sum & 0xFF) == 0;
    DropPartial();
    return record;
}

void EscLoader::DropPartial()
{
    inRecord_ = false;
    raw_.clear();
}

void EscLoader::Program(const HexRecord& record)
{
    ++records_;
    if (!record.checksumOk) {
        ++checksumFailures_;
        return;
    }
    switch (record.type) {
    case kData:
        for (std::size_t i = 0; i < record.data.size(); ++i)
            image_[base_ + record.address + static_cast<std::uint32_t>(i)] = record.data[i];
        break;
    case kEndOfFile: break;
    case kExtendedSegment:
        if (record.data.size() == 2)
            base_ = static_cast<std::uint32_t>(record.data[0] << 8 | record.data[1]) << 4;
        break;
    case kExtendedLinear:
        if (record.data.size() == 2)
            base_ = static_cast<std::uint32_t>(record.data[0] << 8 | record.data[1]) << 16;
        break;
    default: break;  // start addresses mean nothing to a flash image
    }
}

void EscLoader::Reset()
{
    *this = EscLoader{};
}

std::vector<std::uint8_t> EscLoader::FlatImage() const
{
    if (image_.empty())
        return {};
    const std::uint32_t low = image_.begin()->first;
    const std::uint32_t high = image_.rbegin()->first;
    std::vector<std::uint8_t> flat(high - low + 1, 0xFF);
    for (const auto& [address, value] : image_)
        flat[address - low] = value;
    return flat;
}

}  // namespace kel::sim
