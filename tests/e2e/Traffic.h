#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/DeviceModel.h"

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
    Bytes ToPc() const;

    // The device model kel-sim ran, rebuilt by feeding it the same bytes at the
    // same times: what its loaders programmed and the settings the ESC keeps.
    // simArgs are kel-sim's arguments (faults included); nullptr when they do
    // not parse.
    std::unique_ptr<sim::DeviceModel> Replay(const std::vector<std::string>& simArgs) const;

private:
    std::vector<TrafficChunk> chunks_;
};

} // namespace kel::e2e
