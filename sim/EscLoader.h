#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kel::sim {

// One Intel-HEX record as raw bytes: 0x3A, count, address high, address low,
// type, count data bytes, checksum (the two's complement of the sum of the
// bytes from count to the last data byte).
struct HexRecord {
    std::uint8_t type = 0;
    std::uint16_t address = 0;
    std::vector<std::uint8_t> data;
    bool checksumOk = false;
};

// The ESC's boot loader, as far as its records go: it assembles records from
// the bytes it gets and programs the data records into a firmware image.
class EscLoader {
public:
    static constexpr std::uint8_t kRecordStart = 0x3A;
    static constexpr std::uint8_t kData = 0x00;
    static constexpr std::uint8_t kEndOfFile = 0x01;
    static constexpr std::uint8_t kExtendedSegment = 0x02;
    static constexpr std::uint8_t kExtendedLinear = 0x04;

    // Starts a record (its 0x3A was just received).
    void StartRecord();
    bool InRecord() const { return inRecord_; }
    // Feeds one byte of the record in progress; returns the record it completes.
    std::optional<HexRecord> OnRecordByte(std::uint8_t byte);
    void DropPartial();

    // Programs a record: data records land in the image, address records move
    // the base. Counts checksum failures (such a record programs nothing).
    void Program(const HexRecord& record);
    // Forgets the image: a new update begins.
    void Reset();

    const std::map<std::uint32_t, std::uint8_t>& Image() const { return image_; }
    // The image from its lowest to its highest address, gaps as 0xFF.
    std::vector<std::uint8_t> FlatImage() const;
    std::uint32_t LowestAddress() const { return image_.empty() ? 0 : image_.begin()->first; }
    std::size_t RecordsProgrammed() const { return records_; }
    std::size_t ChecksumFailures() const { return checksumFailures_; }

private:
    bool inRecord_ = false;
    std::vector<std::uint8_t> raw_;  // count byte onwards
    std::map<std::uint32_t, std::uint8_t> image_;
    std::uint32_t base_ = 0;
    std::size_t records_ = 0;
    std::size_t checksumFailures_ = 0;
};

}  // namespace kel::sim
