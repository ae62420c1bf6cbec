#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

using OptionList = std::vector<std::string>;

// One entry of a fixed option list, exactly as shown; the factory default ends
// in "*". `byte` is what the ESC stores for it where the list names its bytes
// (ByteMap::Listed); elsewhere the byte follows from the index.
struct OptionEntry {
    std::string_view text;
    std::uint8_t byte = 0;
};

// Where a slot's entries come from: a fixed list, or one built for the ESC
// variant and mode (variant -1: no profile loaded yet).
struct OptionSource {
    std::span<const OptionEntry> entries;
    OptionList (*build)(int escVariant, int escMode) = nullptr;
};

// The fixed lists, named after the slot that offers them.
namespace entries {
inline constexpr OptionEntry kPowerLevel[] = {{"Level 1"}, {"Level 2"},  {"Level 3"}, {"Level 4"}, {"Level 5"},
                                              {"Level 6"}, {"Level 7*"}, {"Level 8"}, {"Level 9"}};
inline constexpr OptionEntry kReserved1082[] = {{"off*"}, {"3%"}, {"6%"}, {"9%"}, {"12%"}};
inline constexpr OptionEntry kDriveFrequency[] = {{"2kHz"}, {"4kHz"}, {"8kHz*"}, {"16kHz"}, {"32kHz"}, {"64kHz"}};
inline constexpr OptionEntry kNeutralDeadBand[] = {{"0%"}, {"3%"}, {"6%*"}, {"9%"}, {"12%"}};
inline constexpr OptionEntry kTurboSlope[] = {{"3 deg/0.1s"},   {"6 deg/0.1s"},  {"12 deg/0.1s"},
                                              {"18 deg/0.1s*"}, {"24 deg/0.1s"}, {"Fastest"}};
inline constexpr OptionEntry kReserved1092[] = {{"full throttle*"}, {"RPM"}, {"Full+RPM"}};
inline constexpr OptionEntry kTurboDelay[] = {{"off"},      {"0.05 sec"}, {"0.1 sec"},  {"0.15 sec"}, {"0.2 sec*"},
                                              {"0.25 sec"}, {"0.3 sec"},  {"0.35 sec"}, {"0.4 sec"}};
inline constexpr OptionEntry kInitialBrake[] = {{"=Drag Brake*", 200}, {"0%", 0},   {"6%", 6},
                                                {"12%", 12},           {"15%", 15}, {"Custom", 255}};
inline constexpr OptionEntry kDragBrake[] = {{"0%"}, {"4%"}, {"8%"}, {"10%*"}, {"12%"}, {"15%"}, {"20%"}, {"Custom"}};
inline constexpr OptionEntry kReserved1097[] = {{"4kHz"}, {"6kHz"}, {"8kHz*"}, {"16kHz"}};
inline constexpr OptionEntry kFullBrake[] = {{"75%"}, {"80%"}, {"85%"}, {"90%"}, {"95%"}, {"100%*"}};
inline constexpr OptionEntry kBrakeFrequency[] = {{"1kHz*"}, {"2kHz"}, {"4kHz"}, {"8kHz"}, {"16kHz"}, {"32kHz"}};
inline constexpr OptionEntry kTemperature[] = {{"off"}, {"176f/80c*"}, {"212f/100c"}};
inline constexpr OptionEntry kLowVolt[] = {
    {"NONE", 0}, {"2.9v/Cell", 29}, {"3.0v/Cell", 30}, {"3.2v/Cell*", 32}, {"Custom", 255}};
inline constexpr OptionEntry kOperationMode[] = {{"For/Brake*"}, {"For/Rev/Brake"}};
inline constexpr OptionEntry kReverseSpeed[] = {{"25%*"}, {"50%"}, {"75%"}, {"100%"}};
inline constexpr OptionEntry kRotation[] = {{"Normal*"}, {"Reverse"}};
}  // namespace entries

// The built lists. Reserved 1088 and 1091 are empty for variant -1.
OptionList TimingDegrees(int escVariant, int escMode);  // Boost Timing, Turbo Timing
OptionList BoostRpm(int escVariant, int escMode);
OptionList BoostAcc(int escVariant, int escMode);
OptionList Reserved1088(int escVariant, int escMode);
OptionList Reserved1091(int escVariant, int escMode);
OptionList Reserved1094(int escVariant, int escMode);

// The entries an option slot (1081..1104) offers, in pop-up order; a slot
// outside 1081..1104 gives an empty list.
OptionList BuildOptionList(int slot, int escVariant, int escMode);

// Position of `text` in `list`, comparing whole strings without regard to
// letter case; -1 when it is not there.
int FindOption(const OptionList& list, std::string_view text);

}  // namespace kel
