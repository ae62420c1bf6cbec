#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/OutOfRange.h"

namespace kel {
class SettingsRecord;
}

namespace kel::cli {

// What `read`, `defaults` and `profile show` print about a settings record.
struct SettingsView {
    const SettingsRecord& record;
    std::string version;  // version text
    std::array<std::uint8_t, 4> versionBytes{};
    std::string profileName;    // profile show only
    bool withReserved = false;  // profile show: the six reserved slots too
    // Values no entry or field range can show: printed as the bytes were,
    // marked with the raw byte and its position ("reply byte", "offset").
    std::vector<OutOfRangeValue> outOfRange = {};
    const char* where = "reply byte";
    std::string extraJson = {};  // more members of the JSON object ("\"verify\": {...}")
};

void PrintSettings(const SettingsView& view, bool json);

}  // namespace kel::cli
