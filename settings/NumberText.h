#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kel {

inline constexpr std::string_view kPercentRefused = "0%";
inline constexpr std::string_view kVoltRefused = "NONE";

struct NormalisedText {
    std::string text;
    bool invalidChar = false;  // text is then the refusal text ("0%" or "NONE")
};

// Tidies a custom field's text: only digits and "%" (percent) or digits, "."
// and "v" (volt) are allowed; leading zeros go while more than two characters
// remain; the unit sign ends up once, at the end. Its results are fixed points,
// except where removing the unit sign bares a leading zero ("%05" gives "05%",
// which tidies to "5%"); a second pass always gives one.
NormalisedText NormaliseNumberText(std::string_view text, bool volt);

// The decimal number at the start of the text, 0 when there is none.
// Saturates instead of overflowing.
int LeadingNumber(std::string_view text);

// The number a custom text stands for: percent texts lose their first "%",
// volt texts their first "v" and then their first "." ("3.4v" gives 34
// tenths); then the leading number. Not yet cut to 8 bits.
int CustomNumber(std::string_view text, bool volt);
inline std::uint8_t CustomByte(std::string_view text, bool volt)
{
    return static_cast<std::uint8_t>(CustomNumber(text, volt) & 0xFF);
}

// "%d%%" of a percentage, "%.1fv" of tenths of a volt.
std::string FormatPercent(int value);
std::string FormatVolt(int tenths);
inline std::string FormatCustom(int value, bool volt)
{
    return volt ? FormatVolt(value) : FormatPercent(value);
}

}  // namespace kel
