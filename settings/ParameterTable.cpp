#include "ParameterTable.h"

#include <algorithm>

namespace kel {

namespace {
constexpr std::array<std::uint8_t, 5> kLowVoltBytes = {0, 29, 30, 32, 255};
constexpr std::array<std::uint8_t, 6> kInitialBrakeBytes = {200, 0, 6, 12, 15, 255};

template <std::size_t N>
std::uint8_t Lookup(const std::array<std::uint8_t, N>& bytes, int index)
{
    return index >= 0 && index < static_cast<int>(N) ? bytes[static_cast<std::size_t>(index)] : 0;
}

template <std::size_t N>
int Position(const std::array<std::uint8_t, N>& bytes, std::uint8_t byte)
{
    const auto it = std::find(bytes.begin(), bytes.end(), byte);
    return it == bytes.end() ? -1 : static_cast<int>(it - bytes.begin());
}

bool IsSlot(int source)
{
    return source >= 1081 && source <= 1104;
}
} // namespace

std::optional<CustomField> CustomFieldOfSlot(int slot)
{
    for (const CustomFieldInfo& info : kCustomFields) {
        if (info.slot == slot)
            return info.field;
    }
    return std::nullopt;
}

std::optional<CustomField> CustomFieldOfEdit(int edit)
{
    for (const CustomFieldInfo& info : kCustomFields) {
        if (info.edit == edit)
            return info.field;
    }
    return std::nullopt;
}

const Parameter* ParameterOfSlot(int slot)
{
    if (!IsSlot(slot))
        return nullptr;
    for (const Parameter& p : kParameters) {
        if (p.source == slot)
            return &p;
    }
    return nullptr;
}

std::vector<int> SlotsOnPage(int pageButton)
{
    std::vector<const Parameter*> rows;
    for (const Parameter& p : kParameters) {
        if (p.page == pageButton && pageButton != 0 && IsSlot(p.source))
            rows.push_back(&p);
    }
    std::sort(rows.begin(), rows.end(), [](const Parameter* a, const Parameter* b) { return a->row < b->row; });
    std::vector<int> slots;
    for (const Parameter* p : rows)
        slots.push_back(p->source);
    return slots;
}

std::uint8_t ToEscByte(ByteMap map, int index)
{
    switch (map) {
    case ByteMap::LowVolt: return Lookup(kLowVoltBytes, index);
    case ByteMap::InitialBrake: return Lookup(kInitialBrakeBytes, index);
    case ByteMap::FullBrake: return static_cast<std::uint8_t>((index + 15) * 5);
    case ByteMap::ReverseSpeed: return static_cast<std::uint8_t>((index + 1) * 25);
    case ByteMap::DeadBand: return static_cast<std::uint8_t>(index * 3);
    default: return static_cast<std::uint8_t>(index);
    }
}

int FromEscByte(ByteMap map, std::uint8_t byte)
{
    const int b = byte;
    switch (map) {
    case ByteMap::LowVolt: return Position(kLowVoltBytes, byte);
    case ByteMap::InitialBrake: return Position(kInitialBrakeBytes, byte);
    case ByteMap::FullBrake: return (b - 75) / 5;  // truncates toward zero: 72 gives 0, 70 gives -1
    case ByteMap::ReverseSpeed: return b / 25 - 1;
    case ByteMap::DeadBand: return b / 3;
    default: return b;
    }
}

std::optional<LabelTarget> FindLabel(std::string_view label)
{
    for (const CustomFieldInfo& info : kCustomFields) {
        if (info.label == label)
            return LabelTarget{info.slot, info.field};
    }
    for (const Parameter& p : kParameters) {
        if (IsSlot(p.source) && !p.label.empty() && p.label == label)
            return LabelTarget{p.source, std::nullopt};
    }
    return std::nullopt;
}

} // namespace kel
