#include "OptionLists.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "ParameterTable.h"

namespace kel {

namespace {

using List = OptionList;

std::string Format(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

// "%d deg" of 0..60 with the default on 0 (Boost Timing, Turbo Timing).
List TimingDegrees(int, int)
{
    List list{"0 deg*"};
    for (int i = 1; i <= 60; ++i)
        list.push_back(Format("%d deg", i));
    return list;
}

List BoostRpm(int, int)
{
    List list;
    for (int i = 0; i < 10; ++i)
        list.push_back(i == 2 ? Format("%d*", 1500) : Format("%d", (i + 1) * 500));
    for (int i = 10; i < 20; ++i)
        list.push_back(Format("%d", 6000 + (i - 10) * 1000));
    return list;
}

List BoostAcc(int, int)
{
    List list{"50 RPM/deg*"};
    for (int i = 1; i <= 13; ++i)
        list.push_back(Format("%d RPM/deg", (i + 1) * 50));
    return list;
}

// Reserved 1088: the default sits on 60 deg only for variant 0 in stock mode.
List Reserved1088(int variant, int mode)
{
    if (variant != 0 && variant != 1)
        return {};
    const bool defaultAt60 = variant == 0 && mode == 0;
    List list{defaultAt60 ? "off" : "off*"};
    for (int i = 1; i <= 60; ++i)
        list.push_back(Format(i == 60 && defaultAt60 ? "%d deg*" : "%d deg", i));
    return list;
}

// Reserved 1091: the default moves to 0 deg/0.1s for variant 0 outside stock mode.
List Reserved1091(int variant, int mode)
{
    if (variant != 0 && variant != 1)
        return {};
    const bool defaultAtZero = variant == 0 && mode != 0;
    List list{defaultAtZero ? "0 deg/0.1s*" : "0 deg/0.1s", "1 deg/0.1s", "3 deg/0.1s",
              defaultAtZero ? "6 deg/0.1s" : "6 deg/0.1s*", "8 deg/0.1s"};
    for (int i = 9; i <= 22; ++i)
        list.push_back(Format("%d deg/0.1s", i));
    return list;
}

List Reserved1094(int variant, int)
{
    const int defaultRpm = variant == 1 ? 35000 : 25000;
    List list;
    for (int rpm = 5000; rpm <= 60000; rpm += 1000)
        list.push_back(Format(rpm == defaultRpm ? "%d*" : "%d", rpm));
    return list;
}

List BuildOptionList(int slot, int escVariant, int escMode)
{
    const Parameter* p = ParameterOfSlot(slot);
    if (!p)
        return {};
    if (p->options.build)
        return p->options.build(escVariant, escMode);
    List list;
    for (const OptionEntry& entry : p->options.entries)
        list.emplace_back(entry.text);
    return list;
}

int FindOption(const List& list, std::string_view text)
{
    auto sameIgnoringCase = [text](const std::string& entry) {
        return std::equal(entry.begin(), entry.end(), text.begin(), text.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    const auto it = std::find_if(list.begin(), list.end(), sameIgnoringCase);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

}  // namespace kel
