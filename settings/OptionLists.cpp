#include "OptionLists.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kel {

namespace {

using List = std::vector<std::string>;

std::string Format(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "%d deg" of 0..60 with the default on 0 (Boost Timing, Turbo Timing).
List TimingDegrees()
{
    List list{"0 deg*"};
    for (int i = 1; i <= 60; ++i)
        list.push_back(Format("%d deg", i));
    return list;
}

List BoostRpm()
{
    List list;
    for (int i = 0; i < 10; ++i)
        list.push_back(i == 2 ? Format("%d*", 1500) : Format("%d", (i + 1) * 500));
    for (int i = 10; i < 20; ++i)
        list.push_back(Format("%d", 6000 + (i - 10) * 1000));
    return list;
}

List BoostAcc()
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

List Reserved1094(int variant)
{
    const int defaultRpm = variant == 1 ? 35000 : 25000;
    List list;
    for (int rpm = 5000; rpm <= 60000; rpm += 1000)
        list.push_back(Format(rpm == defaultRpm ? "%d*" : "%d", rpm));
    return list;
}

} // namespace

List BuildOptionList(int slot, int escVariant, int escMode)
{
    switch (slot) {
    case 1081: return {"Level 1", "Level 2", "Level 3", "Level 4", "Level 5", "Level 6", "Level 7*", "Level 8", "Level 9"};
    case 1082: return {"off*", "3%", "6%", "9%", "12%"};
    case 1083: return {"2kHz", "4kHz", "8kHz*", "16kHz", "32kHz", "64kHz"};
    case 1084: return {"0%", "3%", "6%*", "9%", "12%"};
    case 1085: return TimingDegrees();
    case 1086: return BoostRpm();
    case 1087: return BoostAcc();
    case 1088: return Reserved1088(escVariant, escMode);
    case 1089: return TimingDegrees();
    case 1090: return {"3 deg/0.1s", "6 deg/0.1s", "12 deg/0.1s", "18 deg/0.1s*", "24 deg/0.1s", "Fastest"};
    case 1091: return Reserved1091(escVariant, escMode);
    case 1092: return {"full throttle*", "RPM", "Full+RPM"};
    case 1093: return {"off", "0.05 sec", "0.1 sec", "0.15 sec", "0.2 sec*", "0.25 sec", "0.3 sec", "0.35 sec", "0.4 sec"};
    case 1094: return Reserved1094(escVariant);
    case 1095: return {"=Drag Brake*", "0%", "6%", "12%", "15%", "Custom"};
    case 1096: return {"0%", "4%", "8%", "10%*", "12%", "15%", "20%", "Custom"};
    case 1097: return {"4kHz", "6kHz", "8kHz*", "16kHz"};
    case 1098: return {"75%", "80%", "85%", "90%", "95%", "100%*"};
    case 1099: return {"1kHz*", "2kHz", "4kHz", "8kHz", "16kHz", "32kHz"};
    case 1100: return {"off", "176f/80c*", "212f/100c"};
    case 1101: return {"NONE", "2.9v/Cell", "3.0v/Cell", "3.2v/Cell*", "Custom"};
    case 1102: return {"For/Brake*", "For/Rev/Brake"};
    case 1103: return {"25%*", "50%", "75%", "100%"};
    case 1104: return {"Normal*", "Reverse"};
    default: return {};
    }
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

} // namespace kel
