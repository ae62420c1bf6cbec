#include "sim/EscSettings.h"

namespace kel::sim {

namespace {

struct TagPosition {
    std::uint8_t tag;
    std::uint8_t position;
};

// Which reply byte each pair tag writes. 0xF7 (the Initial Brake custom value)
// is taken too, although the tool's own write does not send it.
constexpr TagPosition kTags[] = {
    {0xE1, 0},  {0xE2, 1},
    {0xD2, 2},  {0xE3, 3},
    {0xD3, 4},  {0xE4, 5},
    {0xE5, 6},  {0xE6, 7},
    {0xE7, 8},  {0xE8, 9},
    {0xE9, 10}, {0xEA, 11},
    {0xEB, 12}, {0xEC, 13},
    {0xED, 14}, {0xEE, 15},
    {0xEF, 16}, {0xF0, 17},
    {0xF1, 18}, {0xF7, 20},
    {0xF5, 21}, {EscSettings::kModeTag, 22},
};

}  // namespace

EscSettings::Reply EscSettings::Defaults(bool mod)
{
    // The marked factory entry of every parameter, as the byte the ESC stores.
    return Reply{
        0,    // 0  Operation Mode: For/Brake
        3,    // 1  Drag Brake: 10%
        5,    // 2  Drag Brake custom: 5%
        32,   // 3  Low volt cut: 3.2v/Cell
        35,   // 4  Low volt cut custom: 3.5v
        6,    // 5  Power Level: Level 7
        100,  // 6  Full Brake: 100%
        25,   // 7  Reverse Speed: 25%
        200,  // 8  Initial Brake: =Drag Brake
        6,    // 9  Neutral DeadBand: 6%
        0,    // 10 Boost Timing: 0 deg
        3,    // 11 Turbo Slope: 18 deg/0.1s
        1,    // 12 Temperature Set: 176f/80c
        0,    // 13 Turbo Timing: 0 deg
        2,    // 14 Boost RPM: 1500
        4,    // 15 Turbo Delay: 0.2 sec
        0,    // 16 Boost ACC: 50 RPM/deg
        2,    // 17 Drive Frequency: 8kHz
        0,    // 18 Brake Frequency: 1kHz
        0,    // 19 not used
        20,   // 20 Initial Brake custom: 20%
        0,    // 21 Rotation mode: Normal
        static_cast<std::uint8_t>(mod ? 1 : 0),
        kEndMark,
    };
}

std::optional<std::size_t> EscSettings::PositionOfTag(std::uint8_t tag)
{
    for (const auto& t : kTags) {
        if (t.tag == tag)
            return t.position;
    }
    return std::nullopt;
}

bool EscSettings::Apply(std::uint8_t tag, std::uint8_t value)
{
    const auto position = PositionOfTag(tag);
    if (!position)
        return false;
    bytes_[*position] = value;
    return true;
}

}  // namespace kel::sim
