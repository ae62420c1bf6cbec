#include "CustomFields.h"

#include <algorithm>
#include <utility>

#include "NumberText.h"
#include "link/Screen.h"

namespace kel {

CustomFields::CustomFields(Screen& screen) : screen_(screen) {}

std::uint8_t CustomFields::Value(CustomField field) const
{
    return CustomByte(Text(field), InfoOf(field).volt);
}

void CustomFields::OnTextEdited(CustomField field, std::string_view text)
{
    State& s = state(field);
    if (s.text == text)
        return;
    s.text = std::string(text);  // the widget shows it already
    Check(field);
}

void CustomFields::OnTyped(CustomField field, std::string_view text)
{
    State& s = state(field);
    if (s.text == text)
        return;
    s.text = std::string(text);
    Check(field, true);
}

void CustomFields::OnEntryFinished(CustomField field)
{
    if (state(field).waiting)
        Check(field);
}

void CustomFields::SetText(CustomField field, std::string_view text)
{
    if (state(field).text == text)
        return;
    Show(field, text);
    Check(field);
}

void CustomFields::OnSpin(CustomField field, int delta)
{
    const CustomFieldInfo& info = InfoOf(field);
    const int value = std::clamp(state(field).spin + delta, info.lower, info.upper);
    SetSpinPosition(field, value);
    SetText(field, FormatCustom(value, info.volt));
}

namespace {

// Whether typing more digits after a text worth `value` can still reach
// lower..upper: digits only ever make the number longer.
bool CanStillBecome(int value, int lower, int upper)
{
    if (value == 0)
        return true;  // a leading zero, or nothing yet
    long long from = value;
    long long to = value;
    for (int more = 1; more <= 3; ++more) {
        from *= 10;
        to = to * 10 + 9;
        if (from <= upper && to >= lower)
            return true;
    }
    return false;
}

}  // namespace

void CustomFields::Check(CustomField field, bool typing)
{
    const CustomFieldInfo& info = InfoOf(field);
    state(field).waiting = false;
    const std::string_view refused = info.volt ? kVoltRefused : kPercentRefused;
    NormalisedText tidy = NormaliseNumberText(Text(field), info.volt);
    // Taking a unit sign off the front can bare a leading zero ("%05" gives
    // "05%"): tidy again, as the window's nested change notifications would,
    // until the text stands ("5%").
    while (!tidy.invalidChar) {
        NormalisedText again = NormaliseNumberText(tidy.text, info.volt);
        if (again.text == tidy.text)
            break;
        tidy = std::move(again);
    }
    if (tidy.invalidChar) {
        // One message per refusal: the refusal text itself is not checked again.
        screen_.MessageBox(text::kInvalidCharMessage, text::kBoxCaption, MessageIcon::Error);
        Show(field, refused);
        return;
    }
    if (typing) {
        // Below the range, yet on its way into it: wait for the rest.
        const int partial = info.volt ? CustomNumber(tidy.text, true) : LeadingNumber(tidy.text);
        if (partial < info.lower && CanStillBecome(partial, info.lower, info.upper)) {
            state(field).waiting = true;
            return;
        }
    }
    if (tidy.text != Text(field))
        Show(field, tidy.text);
    // The volt field is read as a write sends it (first "v", first "."
    // removed), so an accepted text always sends 35..110.
    const int value = info.volt ? CustomNumber(Text(field), true) : LeadingNumber(Text(field));
    if (value >= info.lower && value <= info.upper)
        return;
    screen_.MessageBox(text::kInvalidValueMessage, text::kBoxCaption, MessageIcon::Error);
    Show(field, refused);
}

void CustomFields::Show(CustomField field, std::string_view text)
{
    state(field).text = std::string(text);
    screen_.SetText(InfoOf(field).edit, text);
}

void CustomFields::SetSpinPosition(CustomField field, int position)
{
    state(field).spin = position;
    screen_.SetSpinPosition(InfoOf(field).spin, position);
}

void CustomFields::EnableEdit(CustomField field, bool enabled)
{
    state(field).editEnabled = enabled;
    screen_.Enable(InfoOf(field).edit, enabled);
}

void CustomFields::EnableSpin(CustomField field, bool enabled)
{
    state(field).spinEnabled = enabled;
    screen_.Enable(InfoOf(field).spin, enabled);
}

void CustomFields::ShowAll() const
{
    for (const CustomFieldInfo& info : kCustomFields) {
        const State& s = state(info.field);
        screen_.SetText(info.edit, s.text);
        screen_.SetSpinPosition(info.spin, s.spin);
        screen_.Enable(info.edit, s.editEnabled);
        screen_.Enable(info.spin, s.spinEnabled);
    }
}

}  // namespace kel
