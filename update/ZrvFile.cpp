#include "ZrvFile.h"

#include "TextFile.h"
#include "link/UsbUart.h"

namespace kel {

std::size_t ZrvRecordLength(std::string_view line)
{
    return (line.size() + 1) / 2;
}

std::vector<std::uint8_t> ZrvRecord(std::string_view line)
{
    std::vector<std::uint8_t> record(ZrvRecordLength(line));
    if (record.empty())
        return record;
    record[0] = kZrvRecordStart;
    for (std::size_t k = 1; k < record.size(); ++k)
        record[k] = UsbUart::HexPairValue(line[2 * k - 1], line[2 * k]);
    return record;
}

std::vector<std::string> ZrvLines(std::string_view fileBytes)
{
    const std::string text = TextModeView(fileBytes);
    std::vector<std::string> lines;
    for (auto line : SplitLines(text))
        lines.emplace_back(line);
    return lines;
}

std::int64_t ZrvTotal(const std::vector<std::string>& lines)
{
    std::int64_t total = 0;
    for (const auto& line : lines)
        total += static_cast<std::int64_t>(ZrvRecordLength(line));
    return total;
}

}  // namespace kel
