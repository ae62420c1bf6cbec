#include "SimReport.h"

#include <sstream>

namespace kel::e2e {

std::vector<std::uint8_t> HexBytes(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    std::istringstream words(text);
    for (std::string hex; words >> hex;)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
    return bytes;
}

SimReport::SimReport(const std::string& text)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        const std::string name = line.substr(0, colon), value = line.substr(colon + 2);
        if (name == "box-block")
            blocks_.push_back(HexBytes(value));
        else
            values_[name] = value;
    }
}

std::string SimReport::Value(const std::string& name) const
{
    const auto it = values_.find(name);
    return it == values_.end() ? "" : it->second;
}

std::size_t SimReport::Number(const std::string& name) const
{
    const std::string text = Value(name);
    return text.empty() ? 0 : std::stoul(text);
}

std::vector<std::uint8_t> SimReport::Bytes(const std::string& name) const
{
    return HexBytes(Value(name));
}

}  // namespace kel::e2e
