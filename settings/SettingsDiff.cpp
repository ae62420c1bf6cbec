#include "SettingsDiff.h"

#include <algorithm>
#include <cstdio>

#include "OptionLists.h"
#include "ParameterTable.h"
#include "SettingsCodec.h"
#include "SettingsRecord.h"
#include "link/Protocol.h"
#include "link/QuietScreen.h"

namespace kel {

namespace {

constexpr const char* kModeLabel = "Mode";

std::string ModeText(int escMode)
{
    return escMode == 0 ? "stock" : "MOD";
}

template <typename SlotValue, typename CustomValue>
ShownSettings Build(std::optional<std::string> mode, SlotValue slotValue, CustomValue customValue)
{
    ShownSettings shown{{kModeLabel, std::move(mode)}};
    for (int slot : ShownSlots())
        shown.push_back({std::string(ParameterOfSlot(slot)->label), slotValue(slot)});
    for (const CustomFieldInfo& info : kCustomFields)
        shown.push_back({std::string(info.label), customValue(info.field)});
    return shown;
}

}  // namespace

ShownSettings ShownSettingsOf(const SettingsRecord& record)
{
    std::optional<std::string> mode;
    if (record.escMode >= 0)
        mode = ModeText(record.escMode);
    return Build(
        mode, [&](int slot) { return std::optional<std::string>(record.Caption(slot)); },
        [&](CustomField field) { return std::optional<std::string>(record.custom.Text(field)); });
}

ShownSettings FactorySettings()
{
    return Build(
        std::nullopt,
        [](int slot) -> std::optional<std::string> {
            const std::vector<std::string> list = BuildOptionList(slot, -1, -1);
            const auto marked =
                std::find_if(list.begin(), list.end(), [](const std::string& entry) { return entry.ends_with('*'); });
            if (marked == list.end())
                return std::nullopt;
            return *marked;
        },
        [](CustomField) { return std::optional<std::string>(); });
}

std::vector<SettingDifference> CompareSettings(const ShownSettings& first, const ShownSettings& second)
{
    std::vector<SettingDifference> differences;
    for (const ShownValue& a : first) {
        const auto b =
            std::find_if(second.begin(), second.end(), [&](const ShownValue& v) { return v.label == a.label; });
        if (b == second.end() || !a.value || !b->value || *a.value == *b->value)
            continue;
        differences.push_back({a.label, *a.value, *b->value});
    }
    return differences;
}

ShownSettings ShownSettingsOfReply(const std::uint8_t* reply, int escVariant)
{
    QuietScreen screen;
    SettingsRecord decoded(screen);
    decoded.escVariant = escVariant;
    decoded.escMode = reply[kReplyModeByte] != 0 ? 1 : 0;
    DecodeSettings(decoded, reply);
    ShownSettings shown = ShownSettingsOf(decoded);
    for (ShownValue& row : shown) {
        if (row.value && row.value->empty()) {
            const auto target = FindLabel(row.label);
            const int source = !target ? 0 : target->custom ? InfoOf(*target->custom).edit : target->slot;
            for (const Parameter& p : kParameters) {
                if (p.source == source && source != 0 && p.replyByte >= 0) {
                    char raw[32];
                    std::snprintf(raw, sizeof raw, "raw byte 0x%02X", reply[p.replyByte]);
                    row.value = raw;
                }
            }
        }
    }
    return shown;
}

ShownSettings ShownAfterWrite(const SettingsRecord& record)
{
    const SettingsBlock block = EncodeSettings(record);
    std::array<std::uint8_t, kSettingsReplySize> reply{};
    std::copy_n(record.lastRead.begin(), reply.size(), reply.begin());
    for (int k = 0; k < kPairCount; ++k)
        reply[static_cast<std::size_t>(kPairs[static_cast<std::size_t>(k)].replyByte)] = block[2 * k + 1];
    reply[kReplyEndByte] = protocol::kReplyEndMark;
    return ShownSettingsOfReply(reply.data(), record.escVariant);
}

}  // namespace kel
