#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "link/TraceFormat.h"

namespace kel::sim {

// The box as an exchange log shows it: each byte the PC sends must be the
// log's next byte from the PC; the box then sends what the log shows it
// sending before the PC's byte after that. Times in the log are not kept:
// answers go out at once (a reply that never came is still missing, so the
// PC times out where it did). At the first byte the log does not expect, or
// past its end, the box falls silent for good, as a broken box would.
class TraceReplay {
public:
    explicit TraceReplay(std::vector<TraceEntry> entries);

    // Bytes the PC read before it wrote anything.
    std::vector<std::uint8_t> Opening();
    // The answer to one byte from the PC (nothing once silent).
    std::vector<std::uint8_t> Receive(std::uint8_t fromPc);

    bool Silent() const { return !problem_.empty(); }
    // Why the box fell silent, for the user.
    const std::string& Problem() const { return problem_; }
    // Every byte of the log was played.
    bool Done() const { return next_ == entries_.size(); }

private:
    std::vector<std::uint8_t> BoxBytes();

    std::vector<TraceEntry> entries_;
    std::size_t next_ = 0;
    std::string problem_;
};

}  // namespace kel::sim
