#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ParameterTable.h"

namespace kel {

class Screen;

// The three custom fields behind "Custom" entries (Initial Brake, Drag Brake
// in percent; Low volt cut in tenths of a volt): their texts, spin positions
// and enabled states. Every change is shown on the Screen at once; the
// engine reads the values from here, never back from a widget.
//
// Every text change, typed or set by the program, is checked and tidied at
// once. Tidied texts are fixed points and a text that does not change raises
// nothing, so a window that reports the program's own changes back as edits
// does not loop.
class CustomFields {
public:
    explicit CustomFields(Screen& screen);

    const std::string& Text(CustomField field) const { return state(field).text; }
    int SpinPosition(CustomField field) const { return state(field).spin; }
    bool EditEnabled(CustomField field) const { return state(field).editEnabled; }
    bool SpinEnabled(CustomField field) const { return state(field).spinEnabled; }
    // The number the field's text stands for, in 8 bits, as a write or a
    // profile carries it ("25%" gives 25, "3.4v" gives 34).
    std::uint8_t Value(CustomField field) const;

    // The user changed the field's text (the window reports the new text).
    void OnTextEdited(CustomField field, std::string_view text);
    // The same for one keystroke of an entry still being typed: a text that
    // can still become a valid value by typing on ("3" on its way to "3.5")
    // is left as it is until the entry is finished; anything else is judged
    // at once, as OnTextEdited does.
    void OnTyped(CustomField field, std::string_view text);
    // The entry is finished (Enter, or the field lost the focus): a text left
    // waiting is judged now.
    void OnEntryFinished(CustomField field);
    bool Waiting(CustomField field) const { return state(field).waiting; }
    // The program sets the text (settings read, profile load): shown, then
    // checked as a typed text would be.
    void SetText(CustomField field, std::string_view text);
    // A spin click: steps from the spin's own position, kept within the
    // field's range, and rewrites the text from the result.
    void OnSpin(CustomField field, int delta);

    void SetSpinPosition(CustomField field, int position);
    void EnableEdit(CustomField field, bool enabled);
    void EnableSpin(CustomField field, bool enabled);

    // Shows every text, spin position and enabled state.
    void ShowAll() const;

private:
    struct State {
        std::string text;
        int spin = 0;
        bool editEnabled = false;
        bool spinEnabled = false;
        bool waiting = false;  // typed, not judged yet
    };
    State& state(CustomField field) { return fields_[static_cast<std::size_t>(field)]; }
    const State& state(CustomField field) const { return fields_[static_cast<std::size_t>(field)]; }

    void Check(CustomField field, bool typing = false);
    void Show(CustomField field, std::string_view text);

    Screen& screen_;
    std::array<State, kCustomFieldCount> fields_{};
};

}  // namespace kel
