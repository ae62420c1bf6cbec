#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace kel::sim {

// The program box's boot loader, as far as its blocks go. A block is a 2-byte
// big-endian length L followed by L body bytes; the body ends with its check
// value, a CRC-16/CCITT-FALSE (big-endian) of the body bytes before it. A block
// of length 0 ends the transfer.
class BoxLoader {
public:
    struct Block {
        std::vector<std::uint8_t> body;
        bool checkOk = false;        // false also for a body too short to hold its check value
        bool endOfTransfer = false;  // the length-0 block
    };

    // Feeds one byte; returns the block that this byte completes.
    std::optional<Block> OnByte(std::uint8_t byte);
    bool InBlock() const { return headerBytes_ > 0; }
    void DropPartial();

    // Keeps an accepted block; its payload (body less the check value) joins the image.
    void Accept(const Block& block);
    void Reset();

    const std::vector<std::vector<std::uint8_t>>& AcceptedBlocks() const { return accepted_; }
    const std::vector<std::uint8_t>& Image() const { return image_; }
    bool TransferEnded() const { return ended_; }

    // The check value of a body's payload, as the last two body bytes carry it.
    static bool BodyCheckMatches(const std::vector<std::uint8_t>& body);

private:
    int headerBytes_ = 0;  // 0 idle, 1 high length byte seen, 2 reading the body
    std::size_t length_ = 0;
    std::vector<std::uint8_t> body_;
    std::vector<std::vector<std::uint8_t>> accepted_;
    std::vector<std::uint8_t> image_;
    bool ended_ = false;
};

}  // namespace kel::sim
