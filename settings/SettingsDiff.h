#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kel {

class SettingsRecord;

// One value as the pages show it. No value where the source does not say
// (the factory settings name neither the ESC mode nor the custom numbers).
struct ShownValue {
    std::string label;
    std::optional<std::string> value;
};

// "Mode", the 18 parameters in page order, then the three custom fields
// ("Initial Brake custom", ...): always these 22 rows in this order.
using ShownSettings = std::vector<ShownValue>;

struct SettingDifference {
    std::string label;
    std::string first;   // the value on the left of the comparison
    std::string second;  // ... and on the right
};

// What the record holds, as the pages show it.
ShownSettings ShownSettingsOf(const SettingsRecord& record);

// What "Default Settings" restores: the entry every list marks with "*".
ShownSettings FactorySettings();

// The rows both sides know and that differ, in row order. Rows are matched by
// label, so two lists from the functions above always line up.
std::vector<SettingDifference> CompareSettings(const ShownSettings& first, const ShownSettings& second);

// A 24-byte settings reply as the pages would show it. A byte that maps to
// no entry shows as "raw byte 0xNN".
ShownSettings ShownSettingsOfReply(const std::uint8_t* reply, int escVariant);

// What a settings write of `record` should leave on the ESC, as a read-back
// would show it: the outgoing pairs placed at their reply bytes, over the
// last settings reply for the bytes no pair carries.
ShownSettings ShownAfterWrite(const SettingsRecord& record);

}  // namespace kel
