#include "NumberText.h"

#include <climits>
#include <cstdio>

namespace kel {

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
}  // namespace

NormalisedText NormaliseNumberText(std::string_view text, bool volt)
{
    const char unit = volt ? 'v' : '%';
    for (char c : text) {
        if (!IsDigit(c) && c != unit && !(volt && c == '.'))
            return {std::string(volt ? kVoltRefused : kPercentRefused), true};
    }
    std::string result(text);
    while (!result.empty() && result.front() == '0') {
        if (result.size() <= 2)
            return {result, false};  // "0%", "00", "05" stay as they are
        result.erase(0, 1);
    }
    std::erase(result, unit);
    result.push_back(unit);
    return {result, false};
}

int LeadingNumber(std::string_view text)
{
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

int CustomNumber(std::string_view text, bool volt)
{
    std::string t(text);
    auto eraseFirst = [&t](char c) {
        if (const auto pos = t.find(c); pos != std::string::npos)
            t.erase(pos, 1);
    };
    if (volt) {
        eraseFirst('v');
        eraseFirst('.');
    } else {
        eraseFirst('%');
    }
    return LeadingNumber(t);
}

std::string FormatPercent(int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d%%", value);
    return text;
}

std::string FormatVolt(int tenths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1fv", tenths / 10.0);
    return text;
}

}  // namespace kel
