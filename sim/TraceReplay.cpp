#include "sim/TraceReplay.h"

#include <cstdio>

namespace kel::sim {

namespace {
std::string Hex(std::uint8_t value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}
}  // namespace

TraceReplay::TraceReplay(std::vector<TraceEntry> entries) : entries_(std::move(entries)) {}

std::vector<std::uint8_t> TraceReplay::Opening()
{
    return next_ == 0 ? BoxBytes() : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> TraceReplay::Receive(std::uint8_t fromPc)
{
    if (Silent())
        return {};
    if (Done()) {
        problem_ = "the PC sent " + Hex(fromPc) + " after the last byte of the log; answering nothing more";
        return {};
    }
    const TraceEntry& expected = entries_[next_];
    if (expected.byte.value != fromPc) {
        problem_ = "the PC sent " + Hex(fromPc) + " where line " + std::to_string(expected.line) + " of the log ("
                   + expected.exchange + ") has > " + Hex(expected.byte.value) + "; answering nothing more";
        return {};
    }
    ++next_;
    return BoxBytes();
}

std::vector<std::uint8_t> TraceReplay::BoxBytes()
{
    std::vector<std::uint8_t> bytes;
    while (next_ < entries_.size() && !entries_[next_].byte.fromPc)
        bytes.push_back(entries_[next_++].byte.value);
    return bytes;
}

}  // namespace kel::sim
