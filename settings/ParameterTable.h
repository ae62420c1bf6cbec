#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "OptionLists.h"
#include "link/ControlIds.h"

namespace kel {

// The three numbers behind a "Custom" entry.
enum class CustomField : int { InitialBrake = 0, DragBrake = 1, LowVolt = 2 };
inline constexpr int kCustomFieldCount = 3;

// How an option index becomes the byte the ESC uses, and back.
enum class ByteMap : std::uint8_t {
    Index,         // the index itself
    Listed,        // the byte its entry names (OptionEntry::byte)
    FullBrake,     // (index + 15) * 5
    ReverseSpeed,  // (index + 1) * 25
    DeadBand,      // index * 3
    CustomValue,   // the number of a custom field (not an option index)
    EscMode,       // the low byte of the ESC mode
};

// Where a value comes from: an option slot (1081..1104), a custom field (its
// edit control) or the ESC mode.
inline constexpr int kEscModeSource = 0;

// One value the record holds: what the pages show and what travels to and
// from the ESC. Rows are in the order of the settings reply, which is also
// the order of the outgoing pairs; the six reserved slots follow.
struct Parameter {
    int source;
    std::string_view label;     // as its page shows it; empty for a reserved slot or a custom field
                                // (kCustomFields names those)
    int page;                   // page button showing it; 0 for none
    int row;                    // row on that page; -1 for none
    int replyByte;              // position in the 24-byte reply; -1 for none
    std::uint8_t tag;           // tag of its outgoing pair; 0 when not sent
    std::string_view pairName;  // names its pair when the ESC refuses it
    ByteMap map;
    bool zeroInStock;      // sent as 0 while the ESC is in stock mode
    OptionSource options;  // a slot's entries; none for a custom field or the ESC mode
};

inline constexpr std::array<Parameter, 28> kParameters = {{
    {1102,
     "Operation Mode",
     id::kPageGeneral,
     2,
     0,
     0xE1,
     "Operation Mode",
     ByteMap::Index,
     false,
     {entries::kOperationMode}},
    {1096, "Drag Brake", id::kPageBrake, 1, 1, 0xE2, "Neutral Brake", ByteMap::Index, false, {entries::kDragBrake}},
    {id::kDragBrakeEdit, "", 0, -1, 2, 0xD2, "Neutral Brake Custom", ByteMap::CustomValue, false, {}},
    {1101, "Low volt cut", id::kPageGeneral, 1, 3, 0xE3, "LVC Threshold", ByteMap::Listed, false, {entries::kLowVolt}},
    {id::kLowVoltEdit, "", 0, -1, 4, 0xD3, "LVC Threshold Custom", ByteMap::CustomValue, false, {}},
    {1081,
     "Power Level",
     id::kPageThrottle,
     0,
     5,
     0xE4,
     "Punch Profile",
     ByteMap::Index,
     false,
     {entries::kPowerLevel}},
    {1098, "Full Brake", id::kPageBrake, 3, 6, 0xE5, "Full Brake", ByteMap::FullBrake, false, {entries::kFullBrake}},
    {1103,
     "Reverse Speed",
     id::kPageGeneral,
     3,
     7,
     0xE6,
     "Reverse Speed",
     ByteMap::ReverseSpeed,
     false,
     {entries::kReverseSpeed}},
    {1095,
     "Initial Brake",
     id::kPageBrake,
     0,
     8,
     0xE7,
     "Initial Brake",
     ByteMap::Listed,
     false,
     {entries::kInitialBrake}},
    {1084,
     "Neutral DeadBand",
     id::kPageThrottle,
     2,
     9,
     0xE8,
     "Neutral DeadBand",
     ByteMap::DeadBand,
     false,
     {entries::kNeutralDeadBand}},
    {1085, "Boost Timing", id::kPageBooster, 0, 10, 0xE9, "Boost Timing", ByteMap::Index, true, {{}, TimingDegrees}},
    {1090, "Turbo Slope", id::kPageTurbo, 1, 11, 0xEA, "Turbo Slope", ByteMap::Index, true, {entries::kTurboSlope}},
    {1100,
     "Temperature Set",
     id::kPageGeneral,
     0,
     12,
     0xEB,
     "Temperature",
     ByteMap::Index,
     false,
     {entries::kTemperature}},
    {1089, "Turbo Timing", id::kPageTurbo, 0, 13, 0xEC, "Turbo Timing", ByteMap::Index, true, {{}, TimingDegrees}},
    {1086, "Boost RPM", id::kPageBooster, 1, 14, 0xED, "Boost Start RPM", ByteMap::Index, true, {{}, BoostRpm}},
    {1093, "Turbo Delay", id::kPageTurbo, 2, 15, 0xEE, "Turbo Delay", ByteMap::Index, true, {entries::kTurboDelay}},
    {1087,
     "Boost ACC",
     id::kPageBooster,
     2,
     16,
     0xEF,
     "Boost Timing Acceleration",
     ByteMap::Index,
     true,
     {{}, BoostAcc}},
    {1083,
     "Drive Frequency",
     id::kPageThrottle,
     1,
     17,
     0xF0,
     "Drive Frequency",
     ByteMap::Index,
     false,
     {entries::kDriveFrequency}},
    {1099,
     "Brake Frequency",
     id::kPageBrake,
     2,
     18,
     0xF1,
     "Brake Drive Frequency",
     ByteMap::Index,
     false,
     {entries::kBrakeFrequency}},
    // Byte 19 carries nothing. The Initial Brake custom value arrives in byte
    // 20 but has no pair: the write sends the ESC mode in that position (its
    // own tag would be 0xF7, which this program does not send).
    {id::kInitialBrakeEdit, "", 0, -1, 20, 0, "", ByteMap::CustomValue, false, {}},
    {1104,
     "Rotation mode",
     id::kPageGeneral,
     4,
     21,
     0xF5,
     "Drag Drive Frequency",
     ByteMap::Index,
     false,
     {entries::kRotation}},
    {kEscModeSource, "ESC mode", 0, -1, 22, 0xFE, "Initial Brake Custom ", ByteMap::EscMode, false, {}},
    // Reserved slots: no page, no reply byte, no pair; carried by profiles only.
    {1082, "", 0, -1, -1, 0, "", ByteMap::Index, false, {entries::kReserved1082}},
    {1088, "", 0, -1, -1, 0, "", ByteMap::Index, false, {{}, Reserved1088}},
    {1091, "", 0, -1, -1, 0, "", ByteMap::Index, false, {{}, Reserved1091}},
    {1092, "", 0, -1, -1, 0, "", ByteMap::Index, false, {entries::kReserved1092}},
    {1094, "", 0, -1, -1, 0, "", ByteMap::Index, false, {{}, Reserved1094}},
    {1097, "", 0, -1, -1, 0, "", ByteMap::Index, false, {entries::kReserved1097}},
}};

constexpr bool IsSlot(int source)
{
    return source >= id::kFirstSlot && source <= id::kLastSlot;
}

// The row of an option slot (1081..1104); nullptr for anything else.
constexpr const Parameter* ParameterOfSlot(int slot)
{
    for (const Parameter& p : kParameters) {
        if (IsSlot(slot) && p.source == slot)
            return &p;
    }
    return nullptr;
}

// Index of the "Custom" entry of a slot's fixed list; -1 for none.
constexpr int CustomEntryOf(int slot)
{
    const std::span<const OptionEntry> list = ParameterOfSlot(slot)->options.entries;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].text == "Custom")
            return static_cast<int>(i);
    }
    return -1;
}

// The three numbers behind a "Custom" entry.
struct CustomFieldInfo {
    CustomField field;
    std::string_view label;  // as kel-cli names it
    int edit;                // edit field holding the text; also names the value in kParameters
    int spin;                // its spin button
    int slot;                // the option slot whose "Custom" entry it stands behind
    int customIndex;         // index of that "Custom" entry
    bool volt;               // tenths of a volt shown "%.1fv", else percent "%d%%"
    int lower, upper;        // range of the spin and of a typed value
};

inline constexpr std::array<CustomFieldInfo, kCustomFieldCount> kCustomFields = {{
    {CustomField::InitialBrake, "Initial Brake custom", id::kInitialBrakeEdit, id::kInitialBrakeSpin, 1095,
     CustomEntryOf(1095), false, 0, 100},
    {CustomField::DragBrake, "Drag Brake custom", id::kDragBrakeEdit, id::kDragBrakeSpin, 1096, CustomEntryOf(1096),
     false, 0, 100},
    {CustomField::LowVolt, "Low volt cut custom", id::kLowVoltEdit, id::kLowVoltSpin, 1101, CustomEntryOf(1101), true,
     35, 110},
}};

inline const CustomFieldInfo& InfoOf(CustomField field)
{
    return kCustomFields[static_cast<int>(field)];
}
// The custom field standing behind a slot's "Custom" entry, if it has one.
std::optional<CustomField> CustomFieldOfSlot(int slot);
// The custom field of an edit control (1047, 1048, 1050).
std::optional<CustomField> CustomFieldOfEdit(int edit);

inline constexpr int kPairCount = 21;
inline constexpr std::size_t kSettingsBlockSize = 2 * kPairCount;  // 42 bytes
inline constexpr std::size_t kSettingsReplySize = 24;
inline constexpr int kReplyModeByte = 22;
inline constexpr int kReplyEndByte = 23;

// The rows that are sent, in the order they are sent.
constexpr std::array<Parameter, kPairCount> MakePairs()
{
    std::array<Parameter, kPairCount> pairs{};
    std::size_t n = 0;
    for (const Parameter& p : kParameters) {
        if (p.tag != 0)
            pairs[n++] = p;
    }
    return pairs;
}
inline constexpr std::array<Parameter, kPairCount> kPairs = MakePairs();

// Names a refused pair by its number: entries 0..20 are the pairs' names,
// the six after them name nothing the program sends.
constexpr std::array<std::string_view, 27> MakeParameterNames()
{
    std::array<std::string_view, 27> names{};
    for (int k = 0; k < kPairCount; ++k)
        names[k] = kPairs[k].pairName;
    const std::array<std::string_view, 6> unsent = {"turbo activation mode",  "turbo start rpm",
                                                    "trubo disengage slope",  "boost end rpm",
                                                    "throttle boost control", "Motor Rotation"};
    for (std::size_t i = 0; i < unsent.size(); ++i)
        names[kPairCount + i] = unsent[i];
    return names;
}
inline constexpr std::array<std::string_view, 27> kParameterNames = MakeParameterNames();

// The settings pages, in the order their page buttons stand.
inline constexpr int kParameterPages[] = {id::kPageThrottle, id::kPageBooster, id::kPageTurbo, id::kPageBrake,
                                          id::kPageGeneral};
// The option slots of a settings page, top row first.
std::vector<int> SlotsOnPage(int pageButton);
// The 18 slots the pages show, page by page.
std::vector<int> ShownSlots();
// The slots no page shows, in slot order.
std::vector<int> ReservedSlots();

// Option index → the byte the ESC uses for a row. An index outside a listed
// mapping gives 0.
std::uint8_t ToEscByte(const Parameter& p, int index);
// Byte from the ESC → option index; -1 for a byte no entry of a listed mapping
// names (the list's length decides for the others).
int FromEscByte(const Parameter& p, std::uint8_t byte);

// What a kel-cli label names: an option slot or a custom field. Labels are
// matched exactly as the pages show them ("Power Level"), plus the three
// custom labels ("Initial Brake custom", ...).
struct LabelTarget {
    int slot = 0;
    std::optional<CustomField> custom;
};
std::optional<LabelTarget> FindLabel(std::string_view label);

}  // namespace kel
