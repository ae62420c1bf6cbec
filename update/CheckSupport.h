#pragma once
// Small helpers shared by the two file checks.
#include <cstdio>
#include <string>

namespace kel::check {

inline bool IsUpperHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

inline bool IsLowerHexLetter(char c)
{
    return c >= 'a' && c <= 'f';
}

// A character as a user can find it in an editor: 'g', CR, TAB, 0x00.
inline std::string Describe(char c)
{
    switch (c) {
    case '\r': return "CR";
    case '\n': return "LF";
    case '\t': return "TAB";
    case ' ': return "a space";
    default: break;
    }
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x21 && u < 0x7F)
        return std::string("'") + c + "'";
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", u);
    return text;
}

inline std::string Hex2(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

inline std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace kel::check
