#include "SettingsRecord.h"

#include "OptionLists.h"
#include "link/Screen.h"

namespace kel {

SettingsRecord::SettingsRecord(Screen& screen) : custom(screen), screen_(screen) {}

bool SettingsRecord::IsSlot(int slot)
{
    return slot >= id::kFirstSlot && slot <= id::kLastSlot;
}

const std::string& SettingsRecord::Caption(int slot) const
{
    static const std::string kNone;
    return IsSlot(slot) ? captions_[static_cast<std::size_t>(slot - id::kFirstSlot)] : kNone;
}

void SettingsRecord::SetCaption(int slot, std::string_view caption)
{
    if (!IsSlot(slot))
        return;
    captions_[static_cast<std::size_t>(slot - id::kFirstSlot)] = std::string(caption);
    screen_.SetText(slot, caption);
}

std::vector<std::string> SettingsRecord::OptionList(int slot) const
{
    return BuildOptionList(slot, escVariant, escMode);
}

int SettingsRecord::GetOptionIndex(int slot) const
{
    const std::string& caption = Caption(slot);
    return caption.empty() ? 0 : FindOption(OptionList(slot), caption);
}

void SettingsRecord::SetOptionIndex(int slot, int index)
{
    const auto list = OptionList(slot);
    if (index >= 0 && index < static_cast<int>(list.size()))
        SetCaption(slot, list[static_cast<std::size_t>(index)]);
}

void SettingsRecord::ChooseOption(int slot, int index)
{
    if (const auto field = CustomFieldOfSlot(slot))
        custom.EnableSpin(*field, index == InfoOf(*field).customIndex);
    SetOptionIndex(slot, index);
}

void SettingsRecord::EnableCustomFieldsBySlots()
{
    for (const CustomFieldInfo& info : kCustomFields) {
        const bool onCustom = GetOptionIndex(info.slot) == info.customIndex;
        custom.EnableEdit(info.field, onCustom);
        custom.EnableSpin(info.field, onCustom);
    }
}

void SettingsRecord::ShowAll() const
{
    for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot)
        screen_.SetText(slot, Caption(slot));
    custom.ShowAll();
}

}  // namespace kel
