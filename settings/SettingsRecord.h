#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CustomFields.h"
#include "link/ControlIds.h"

namespace kel {

class Screen;

// The ESC settings as the main window holds them: 24 option slots, each
// holding its value as the exact caption of its option button (empty at
// start), the three custom fields, the ESC mode and variant, and the last
// settings reply that arrived in full. Every caption change is shown on the
// Screen at once (SetText of the slot's button).
class SettingsRecord {
public:
    static constexpr std::size_t kLastReadSize = 250;

    explicit SettingsRecord(Screen& screen);
    SettingsRecord(const SettingsRecord&) = delete;
    SettingsRecord& operator=(const SettingsRecord&) = delete;

    Screen& screen() { return screen_; }

    // Slots are 1081..1104; any other identifier reads as empty and is not set.
    const std::string& Caption(int slot) const;
    void SetCaption(int slot, std::string_view caption);

    // The slot's entries as the current ESC variant and mode give them.
    std::vector<std::string> OptionList(int slot) const;
    // Position of the caption in the option list: 0 for an empty caption, -1
    // when it is not in the list (whole string, any letter case).
    int GetOptionIndex(int slot) const;
    // Sets the caption to the entry at `index`; an index outside the list
    // leaves the caption as it is.
    void SetOptionIndex(int slot, int index);
    // The user picked entry `index` in the slot's pop-up: a slot with a custom
    // field enables its spin exactly when the entry is "Custom"; then the
    // caption is set.
    void ChooseOption(int slot, int index);

    // Initial Brake, Drag Brake and Low volt cut fields (edit and spin) are
    // enabled exactly while their slots show "Custom".
    void EnableCustomFieldsBySlots();

    CustomFields custom;

    int escMode = -1;     // -1 nothing read yet, 0 stock, 1 (or 2) MOD
    int escVariant = -1;  // -1 until a profile sets 0 or 1
    // The last settings reply that arrived in full (receive buffer copy).
    std::array<std::uint8_t, kLastReadSize> lastRead{};

    // Shows every caption and custom field.
    void ShowAll() const;

private:
    static bool IsSlot(int slot);

    Screen& screen_;
    std::array<std::string, id::kSlotCount> captions_;
};

}  // namespace kel
