#include "Traffic.h"

#include <sstream>

namespace kel::e2e {

// Lines read "kel-sim: 655 ms from PC: E2 03" or "... to PC: E2 03 01";
// anything else (the unplug notices) is skipped.
Traffic::Traffic(const std::string& log)
{
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string prefix, unit, direction;
        TrafficChunk chunk;
        if (!(words >> prefix >> chunk.ms >> unit >> direction) || prefix != "kel-sim:" || unit != "ms")
            continue;
        std::string pc;  // "PC:"
        if ((direction != "from" && direction != "to") || !(words >> pc))
            continue;
        chunk.fromPc = direction == "from";
        std::string hex;
        while (words >> hex)
            chunk.bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
        chunks_.push_back(std::move(chunk));
    }
}

Bytes Traffic::FromPc() const
{
    Bytes all;
    for (const TrafficChunk& c : chunks_) {
        if (c.fromPc)
            all.insert(all.end(), c.bytes.begin(), c.bytes.end());
    }
    return all;
}

}  // namespace kel::e2e
