#include "SettingsCodec.h"

#include <string>

#include "NumberText.h"
#include "SettingsRecord.h"

namespace kel {

void DecodeSettings(SettingsRecord& record, const std::uint8_t* reply)
{
    std::array<std::string, kCustomFieldCount> customTexts;
    for (const Parameter& p : kParameters) {
        if (p.replyByte < 0 || p.map == ByteMap::EscMode)
            continue;
        const std::uint8_t byte = reply[p.replyByte];
        if (p.map == ByteMap::CustomValue) {
            const CustomField field = *CustomFieldOfEdit(p.source);
            record.custom.SetSpinPosition(field, byte);
            customTexts[static_cast<std::size_t>(field)] = FormatCustom(byte, InfoOf(field).volt);
            continue;
        }
        const int index = FromEscByte(p, byte);
        record.SetOptionIndex(p.source, index);
        if (const auto field = CustomFieldOfSlot(p.source); field && index == InfoOf(*field).customIndex)
            record.custom.EnableSpin(*field, true);
    }
    // The texts go to their fields last, all together.
    for (const CustomFieldInfo& info : kCustomFields)
        record.custom.SetText(info.field, customTexts[static_cast<std::size_t>(info.field)]);
}

namespace {
std::uint8_t PairValue(const SettingsRecord& record, const Parameter& p)
{
    switch (p.map) {
    case ByteMap::EscMode: return static_cast<std::uint8_t>(record.escMode & 0xFF);
    case ByteMap::CustomValue: {
        const CustomFieldInfo& info = InfoOf(*CustomFieldOfEdit(p.source));
        if (record.GetOptionIndex(info.slot) == info.customIndex)
            return record.custom.Value(info.field);
        return record.lastRead[static_cast<std::size_t>(p.replyByte)];
    }
    default:
        if (p.zeroInStock && record.escMode == 0)
            return 0;
        return ToEscByte(p, record.GetOptionIndex(p.source));
    }
}
}  // namespace

SettingsBlock EncodeSettings(const SettingsRecord& record)
{
    SettingsBlock block{};
    for (std::size_t k = 0; k < kPairs.size(); ++k) {
        block[2 * k] = kPairs[k].tag;
        block[2 * k + 1] = PairValue(record, kPairs[k]);
    }
    return block;
}

}  // namespace kel
