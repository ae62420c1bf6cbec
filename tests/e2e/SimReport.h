#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kel::e2e {

// kel-sim's --report: what the devices held when it stopped.
class SimReport {
public:
    explicit SimReport(const std::string& text);

    // The value of a "name: value" line ("" when there is none).
    std::string Value(const std::string& name) const;
    std::size_t Number(const std::string& name) const;
    std::vector<std::uint8_t> Bytes(const std::string& name) const;
    // Every "box-block:" line, as bytes.
    const std::vector<std::vector<std::uint8_t>>& BoxBlocks() const { return blocks_; }

private:
    std::map<std::string, std::string> values_;
    std::vector<std::vector<std::uint8_t>> blocks_;
};

std::vector<std::uint8_t> HexBytes(const std::string& text);

}  // namespace kel::e2e
