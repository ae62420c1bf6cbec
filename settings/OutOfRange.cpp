#include "OutOfRange.h"

#include <cstdio>

#include "NumberText.h"
#include "OptionLists.h"
#include "ParameterTable.h"

namespace kel {

namespace {

constexpr std::size_t kProfileCustomOffset[kCustomFieldCount] = {kProfileInitialBrakeOffset, kProfileDragBrakeOffset,
                                                                 kProfileLowVoltOffset};  // by CustomField
constexpr std::uint8_t kNoEntry = 0xFF;

bool InList(int slot, int index)
{
    return index >= 0 && index < static_cast<int>(BuildOptionList(slot, -1, -1).size());
}

OutOfRangeValue SlotValue(const Parameter& p, int position, std::uint8_t raw)
{
    return {std::string(p.label), position, raw, {}, "no entry of its list", false};
}

// A custom number outside its field's range, or nothing.
std::optional<OutOfRangeValue> CustomValue(const CustomFieldInfo& info, int position, std::uint8_t raw)
{
    if (raw >= info.lower && raw <= info.upper)
        return std::nullopt;
    return OutOfRangeValue{std::string(info.label),
                           position,
                           raw,
                           FormatCustom(raw, info.volt),
                           "outside " + FormatCustom(info.lower, info.volt) + " to "
                               + FormatCustom(info.upper, info.volt),
                           true};
}

}  // namespace

std::vector<OutOfRangeValue> FindOutOfRangeInReply(const std::uint8_t* reply)
{
    std::vector<OutOfRangeValue> found;
    for (const Parameter& p : kParameters) {
        if (p.replyByte < 0 || p.map == ByteMap::EscMode)
            continue;
        const std::uint8_t raw = reply[p.replyByte];
        if (p.map == ByteMap::CustomValue) {
            if (auto v = CustomValue(InfoOf(*CustomFieldOfEdit(p.source)), p.replyByte, raw))
                found.push_back(*v);
        } else if (!InList(p.source, FromEscByte(p, raw))) {
            found.push_back(SlotValue(p, p.replyByte, raw));
        }
    }
    return found;
}

std::vector<OutOfRangeValue> FindOutOfRangeInProfile(const ProfileImage& image)
{
    std::vector<OutOfRangeValue> found;
    for (int k = 0; k < id::kSlotCount; ++k) {
        const Parameter* p = ParameterOfSlot(id::kFirstSlot + k);
        const std::uint8_t raw = image[static_cast<std::size_t>(k)];
        if (p && !p->label.empty() && !InList(p->source, raw))
            found.push_back(SlotValue(*p, k, raw));
    }
    for (const CustomFieldInfo& info : kCustomFields) {
        const std::size_t offset = kProfileCustomOffset[static_cast<int>(info.field)];
        if (auto v = CustomValue(info, static_cast<int>(offset), image[offset]))
            found.push_back(*v);
    }
    return found;
}

std::string Describe(const OutOfRangeValue& v, const char* where)
{
    char raw[48];
    std::snprintf(raw, sizeof raw, "raw byte 0x%02X at %s %d", v.raw, where, v.position);
    return v.label + (v.value.empty() ? std::string() : " = " + v.value) + " (" + raw + "): " + v.reason;
}

void KeepHeldValues(ProfileImage& image, const std::vector<OutOfRangeValue>& held)
{
    for (const OutOfRangeValue& v : held) {
        const auto target = FindLabel(v.label);
        if (!target)
            continue;
        if (target->custom)
            image[kProfileCustomOffset[static_cast<int>(*target->custom)]] = v.raw;
        else
            image[static_cast<std::size_t>(target->slot - id::kFirstSlot)] = kNoEntry;
    }
}

}  // namespace kel
