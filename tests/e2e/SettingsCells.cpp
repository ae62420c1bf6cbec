// read, write, defaults and profile save under the faults of the settings exchange.
#include "FaultCell.h"
#include "Waits.h"

namespace kel::e2e {

using namespace waits;

namespace {

const std::string kNoEsc = "kel-cli: no ESC answers";
const std::string kUpdateFirmware = "ZORV: Please Update Device to Latest Firmware!";
const std::string kNothingShown = "kel-cli: the ESC's settings reply lacked its end mark (0xDD); nothing was shown";
const std::string kNotReadBack = "kel-cli: the factory settings could not be read back";
const std::string kVersionLine = "Version                Ver: 102304";
const std::string kLevel7 = "Power Level            Level 7*";
const std::string kLevel3 = "Power Level            Level 3";
const std::string kUnknownVersion = "Version                (unknown)";
// The ESC holds Low volt cut custom 2.0v (kel-sim's out-of-range fault).
const std::vector<std::string> kHeldLowVolt = {
    "ZORV: The input data is invalid!",
    "kel-cli: the ESC holds Low volt cut custom = 2.0v (raw byte 0x14 at reply byte 4): outside 3.5v to 11.0v; set it "
    "with write \"Low volt cut custom=VALUE\" or restore the factory settings with defaults"};
const std::string kLowVoltHeld =
    "Low volt cut custom    2.0v  [out of range: raw byte 0x14 at reply byte 4: outside 3.5v to 11.0v]";
const std::string kLowVoltRepaired = "Low volt cut custom    3.5v";
const std::vector<std::string> kOutOfRange = {"--fault", "out-of-range"};
const std::vector<std::string> kLateVersion = {"--fault", "late-bytes=1"};  // the version reply's last byte

std::vector<std::string> With(std::vector<std::string> lines, const std::string& more)
{
    lines.push_back(more);
    return lines;
}

// A read sends probes, the version query and the settings request, nothing else.
const std::set<std::uint8_t> kReadBytes{0xD5, 0xD7, 0xD8};

// The faults that keep the ESC from being found, and those that spoil its
// settings reply, for an exchange that starts by reading.
std::vector<Cell> ReadFailures(const std::string& row, const std::vector<std::string>& cli,
                               const std::vector<Check>& survives)
{
    auto with = [&](Check check) {
        std::vector<Check> all = survives;
        all.push_back(check);
        all.push_back(EscKeepsFactorySettings());
        return all;
    };
    const Check onlyProbes = PcSentOnly({0xD5});
    const Check onlyRead = PcSentOnly(kReadBytes);
    return {
        {row, "no-echo", {"--fault", "no-echo"}, cli, 1, {kNoEsc}, {}, kEscSilent, with(onlyProbes)},
        {row, "no-reply", {"--fault", "no-reply"}, cli, 1, {kNoEsc}, {}, kEscSilent, with(onlyProbes)},
        {row, "late-reply", {"--fault", "late-reply=1000"}, cli, 1, {kNoEsc}, {}, kEscSilent, with(onlyProbes)},
        {row, "no-settings-reply", {"--fault", "no-settings-reply=1"}, cli, 1, {kUpdateFirmware}, {},
         kOpen + kSettingsReply, with(onlyRead)},
        {row, "short-reply", {"--fault", "short-reply"}, cli, 1, {kUpdateFirmware}, {}, kOpen + kSettingsReply,
         with(onlyRead)},
        {row, "wrong-end-mark", {"--fault", "wrong-end-mark"}, cli, 1, {kNothingShown}, {}, kEscFound,
         with(onlyRead)},
        // Gone right after the third wake-up probe: the settings request is lost.
        {row, "unplug", {"--fault", "unplug=6"}, cli, 1, {kUpdateFirmware, kPortFailure}, {},
         kOpen + kEcho + kSettingsReply, with(onlyRead)},
    };
}

std::vector<Cell> Read()
{
    const std::vector<std::string> cli{"read"};
    std::vector<Cell> cells{
        {"read", "clean", {}, cli, 0, {}, {kVersionLine, kLevel7}, kEscFound, {EscKeepsFactorySettings()}},
        {"read", "out-of-range", kOutOfRange, cli, 0, kHeldLowVolt, {kLowVoltHeld, kLevel7}, kEscFound,
         {PcSentOnly(kReadBytes)}},
        // A version that never arrived whole is not shown; its late byte is drained.
        {"read", "late-bytes", kLateVersion, cli, 0, {}, {kUnknownVersion, kLevel7}, kEscFound + kVersion,
         {EscKeepsFactorySettings()}},
        {"read", "flood", {"--fault", "flood"}, cli, 1, {kNoEsc}, {}, kOpen, {EscKeepsFactorySettings()}}};
    // The settings request is answered once it is asked again.
    const Check readAgain = FollowUp({"read"}, 0, {kLevel7});
    for (Cell& c : ReadFailures("read", cli, {})) {
        if (c.column == "no-settings-reply")
            c.checks.push_back(readAgain);
        cells.push_back(c);
    }
    return cells;
}

std::vector<Cell> Write()
{
    const std::string row = "write";
    const std::vector<std::string> cli{"write", "Power Level=Level 3"};
    const std::vector<std::string> verify{"write", "Power Level=Level 3", "--verify"};
    const int written = kEscFound + kPairs * kPairPause + kWriteSucceeded;
    const Check nowLevel3 = FollowUp({"read"}, 0, {kLevel3});
    const Check stillLevel7 = FollowUp({"read"}, 0, {kLevel7});
    std::vector<Cell> cells{
        {row, "clean", {}, cli, 0, {"SUCCESSED"}, {}, written, {nowLevel3, PcLastSent(0xDF)}},
        // A custom value given on the command line repairs what the ESC holds.
        {row, "out-of-range", kOutOfRange, {"write", "Low volt cut custom=3.5v"}, 0, With(kHeldLowVolt, "SUCCESSED"),
         {}, written, {FollowUp({"read"}, 0, {kLowVoltRepaired})}},
        {row, "late-bytes", kLateVersion, cli, 0, {"SUCCESSED"}, {}, written + kVersion, {nowLevel3}},
        // --verify reads back; diff then names the one setting off its factory entry.
        {row, "clean", {}, verify, 0, {"SUCCESSED"}, {"verified"}, written + kReadPause,
         {FollowUp({"diff", "esc", "factory"}, 1, {"Power Level            esc: Level 3  |  factory: Level 7*"})}},
        // Acknowledged, but Power Level is stored one entry higher: only the read-back tells.
        {row, "misstored-tag", {"--fault", "misstored-tag=0xE4"}, verify, 1,
         {"SUCCESSED", "kel-cli: verify: 1 setting did not take (written, then read back from the ESC)"},
         {"Power Level            written: Level 3  |  esc: Level 4"}, written + kReadPause,
         {FollowUp({"read"}, 0, {"Power Level            Level 4"})}},
        // The first pair is refused six times (once and five resends).
        {row, "refused-pair", {"--fault", "refused-pair"}, cli, 1, {"Operation ModeSet Failed", "FAILED"}, {},
         kEscFound + kWriteFailed, {stillLevel7, PcLastSent(0xDF), EscKeepsFactorySettings()}},
        // One refusal is made good by a resend.
        {row, "refused-pair", {"--fault", "refused-pair=3"}, cli, 0, {"SUCCESSED"}, {}, written, {nowLevel3}},
        // The acknowledge byte is still there when the second one stays away.
        {row, "no-second-ack", {"--fault", "no-second-ack=3"}, cli, 0, {"SUCCESSED"}, {}, written + kSecondAck,
         {nowLevel3}},
        // Gone after three pairs: the fourth ("LVC Threshold") is not acknowledged.
        {row, "unplug", {"--fault", "unplug=13"}, cli, 1, {"LVC ThresholdSet Failed", "FAILED", kPortFailure}, {},
         kEscFound + 3 * kPairPause + kAckedEcho + kAck + kWriteFailed + kEndOfWrite, {}},
    };
    for (Cell& c : ReadFailures(row, cli, {PcSent(0xDF, false)})) {
        if (c.column != "unplug")
            cells.push_back(c);
    }
    return cells;
}

std::vector<Cell> Defaults()
{
    const std::string row = "defaults";
    const std::vector<std::string> cli{"defaults"};
    std::vector<Cell> cells{
        {row, "clean", {}, cli, 0, {}, {kLevel7}, kEscFound + kReadPause, {PcSent(0xDE, true)}},
        {row, "out-of-range", kOutOfRange, cli, 0, kHeldLowVolt, {kLowVoltRepaired}, kEscFound + kReadPause,
         {EscKeepsFactorySettings()}},
        // The factory settings are restored; only reading them back failed.
        {row, "no-settings-reply", {"--fault", "no-settings-reply=2"}, cli, 1, {kUpdateFirmware}, {},
         kEscFound + kSettingsReply, {PcSent(0xDE, true), FollowUp({"read"}, 0, {kLevel7})}},
        // Gone right after 0xDE: nothing can be read back.
        {row, "unplug", {"--fault", "unplug=8"}, cli, 1, {kNotReadBack, kPortFailure}, {},
         kEscFound + kEcho + 3 * kWake + kReadPause, {}},
    };
    for (Cell& c : ReadFailures(row, cli, {PcSent(0xDE, false)})) {
        if (c.column != "no-settings-reply" && c.column != "unplug")
            cells.push_back(c);
    }
    return cells;
}

std::vector<Cell> ProfileSave()
{
    const std::string row = "profile save";
    const std::vector<std::string> cli{"profile", "save", "{cfg}"};
    std::vector<Cell> cells{
        {row, "clean", {}, cli, 0, {}, {"Saved {cfg}"}, kEscFound, {ProfileReplaced()}},
        // The profile keeps what the ESC holds, not the field's refusal text.
        {row, "out-of-range", kOutOfRange, cli, 0, kHeldLowVolt, {"Saved {cfg}"}, kEscFound,
         {{[](CellContext& c) -> std::string {
             const std::string now = ReadWholeFile(c.ws.Expand("{cfg}"));
             return now.size() == 31 && now[26] == 0x14 ? "" : "the profile does not hold 0x14 at offset 26";
         }}}},
        {row, "refused-file", {}, {"profile", "save", "{nodir}"}, 3, {"kel-cli: Cannot save {nodir}: the folder {nodir-folder} does not exist."}, {},
         kEscFound, {ProfileUnchanged()}},
    };
    for (const Cell& c : ReadFailures(row, cli, {ProfileUnchanged()}))
        cells.push_back(c);
    return cells;
}

} // namespace

std::vector<Cell> SettingsCells()
{
    std::vector<Cell> all;
    for (auto* group : {Read, Write, Defaults, ProfileSave}) {
        auto cells = group();
        all.insert(all.end(), cells.begin(), cells.end());
    }
    return all;
}

} // namespace kel::e2e
