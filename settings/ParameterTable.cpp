#include "ParameterTable.h"

#include <algorithm>

namespace kel {

namespace {
int Position(std::span<const OptionEntry> list, std::uint8_t byte)
{
    const auto it = std::find_if(list.begin(), list.end(), [byte](const OptionEntry& e) { return e.byte == byte; });
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}
}  // namespace

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

std::vector<int> ShownSlots()
{
    std::vector<int> slots;
    for (int page : kParameterPages) {
        const std::vector<int> onPage = SlotsOnPage(page);
        slots.insert(slots.end(), onPage.begin(), onPage.end());
    }
    return slots;
}

std::vector<int> ReservedSlots()
{
    std::vector<int> slots;
    for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot) {
        if (ParameterOfSlot(slot)->page == 0)
            slots.push_back(slot);
    }
    return slots;
}

std::uint8_t ToEscByte(const Parameter& p, int index)
{
    switch (p.map) {
    case ByteMap::Listed:
        return index >= 0 && index < static_cast<int>(p.options.entries.size())
                   ? p.options.entries[static_cast<std::size_t>(index)].byte
                   : 0;
    case ByteMap::FullBrake: return static_cast<std::uint8_t>((index + 15) * 5);
    case ByteMap::ReverseSpeed: return static_cast<std::uint8_t>((index + 1) * 25);
    case ByteMap::DeadBand: return static_cast<std::uint8_t>(index * 3);
    default: return static_cast<std::uint8_t>(index);
    }
}

int FromEscByte(const Parameter& p, std::uint8_t byte)
{
    const int b = byte;
    switch (p.map) {
    case ByteMap::Listed: return Position(p.options.entries, byte);
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

}  // namespace kel
