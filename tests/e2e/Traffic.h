#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kel::e2e {

using Bytes = std::vector<std::uint8_t>;

// One line of kel-sim's --verbose log: bytes that crossed the wire at a time.
struct TrafficChunk {
    std::int64_t ms = 0;
    bool fromPc = false;
    Bytes bytes;
};

// The byte log of a kel-sim --verbose run, in order.
class Traffic {
public:
    explicit Traffic(const std::string& log);

    const std::vector<TrafficChunk>& Chunks() const { return chunks_; }
    Bytes FromPc() const;

private:
    std::vector<TrafficChunk> chunks_;
};

}  // namespace kel::e2e
