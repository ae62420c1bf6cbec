// Custom number texts: the input is a text typed into a custom field, tidied
// as a percent and as a volt text, read as a number, and typed into each of
// the three fields.
#include <charconv>
#include <climits>

#include "FuzzSupport.h"
#include "settings/CustomFields.h"
#include "settings/NumberText.h"

namespace {

using kel::NormaliseNumberText;

void CheckNormalise(std::string_view text, bool volt)
{
    const char unit = volt ? 'v' : '%';
    const auto allowed = [&](char c) { return (c >= '0' && c <= '9') || c == unit || (volt && c == '.'); };
    const auto withoutUnit = [&](std::string_view t) {
        std::string kept(t);
        std::erase(kept, unit);
        return kept;
    };
    const kel::NormalisedText tidy = NormaliseNumberText(text, volt);
    KEL_FUZZ_CHECK(tidy.invalidChar == !std::all_of(text.begin(), text.end(), allowed));
    if (tidy.invalidChar) {
        KEL_FUZZ_CHECK(tidy.text == kel::fuzz::RefusedText(volt));
        return;
    }

    // Only leading zeros and unit signs go; the rest keeps its order.
    const std::string before = withoutUnit(text);
    const std::string after = withoutUnit(tidy.text);
    KEL_FUZZ_CHECK(before.ends_with(after));
    KEL_FUZZ_CHECK(before.find_first_not_of('0') >= before.size() - after.size());

    // The unit sign stands once, at the end, unless the text is a short zero.
    const bool shortZero = tidy.text.size() <= 2 && !tidy.text.empty() && tidy.text.front() == '0';
    KEL_FUZZ_CHECK(shortZero || (!tidy.text.empty() && tidy.text.find(unit) == tidy.text.size() - 1));

    // A tidy text passes unchanged unless taking the unit sign off its front
    // bared a zero ("%05" gives "05%", then "5%"); the second pass always stands.
    const kel::NormalisedText again = NormaliseNumberText(tidy.text, volt);
    KEL_FUZZ_CHECK(!again.invalidChar);
    if (tidy.text.size() <= 2 || tidy.text.front() != '0')
        KEL_FUZZ_CHECK(again.text == tidy.text);
    KEL_FUZZ_CHECK(NormaliseNumberText(again.text, volt).text == again.text);
}

void CheckLeadingNumber(std::string_view text)
{
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    std::uint64_t value = 0;
    const bool fits = std::from_chars(text.data(), text.data() + digits, value).ec == std::errc() && value <= INT_MAX;
    const int expected = digits == 0 ? 0 : fits ? static_cast<int>(value) : INT_MAX;
    KEL_FUZZ_CHECK(kel::LeadingNumber(text) == expected);
    for (bool volt : {false, true})
        KEL_FUZZ_CHECK(kel::CustomByte(text, volt) == static_cast<std::uint8_t>(kel::CustomNumber(text, volt) & 0xFF));
}

// A number written as its field shows it reads back as the same number.
void CheckFormatReadsBack(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return;
    const int value = (data[0] << 16) | (data[1] << 8) | data[2];
    KEL_FUZZ_CHECK(kel::CustomNumber(kel::FormatPercent(value), false) == value);
    KEL_FUZZ_CHECK(kel::CustomNumber(kel::FormatVolt(value), true) == value);
}

// Typing the text into each field: at most one message, and what stays is
// either the refusal text or a tidy number within the field's range.
void CheckTyping(std::string_view text)
{
    kel::fuzz::WatchingScreen screen;
    kel::CustomFields fields(screen);
    for (const kel::CustomFieldInfo& info : kel::kCustomFields) {
        screen.Forget();
        fields.OnTextEdited(info.field, text);
        KEL_FUZZ_CHECK(screen.messageBoxes <= 1);
        const std::string& shown = fields.Text(info.field);
        if (screen.messageBoxes == 1) {
            KEL_FUZZ_CHECK(shown == kel::fuzz::RefusedText(info.volt));
            continue;
        }
        if (text.empty())
            continue;  // the field started empty: nothing changed, nothing checked
        const int value = info.volt ? kel::CustomNumber(shown, true) : kel::LeadingNumber(shown);
        KEL_FUZZ_CHECK(value >= info.lower && value <= info.upper);
        KEL_FUZZ_CHECK(fields.Value(info.field) == value);
        // What stays is tidy: a further pass would change nothing.
        KEL_FUZZ_CHECK(NormaliseNumberText(shown, info.volt).text == shown);
        // The window reports the tidied text back as an edit: nothing more happens.
        screen.Forget();
        fields.OnTextEdited(info.field, shown);
        KEL_FUZZ_CHECK(screen.messageBoxes == 0 && fields.Text(info.field) == shown);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = kel::fuzz::AsText(data, size);
    CheckNormalise(text, false);
    CheckNormalise(text, true);
    CheckLeadingNumber(text);
    CheckFormatReadsBack(data, size);
    CheckTyping(text);
    return 0;
}
