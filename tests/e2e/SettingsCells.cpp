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
        {"read", "clean", {}, cli, 0, {}, {kVersionLine, kLevel7}, kEscFound, {EscKeepsFactorySettings()}}};
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
    const int written = kEscFound + kPairs * kPairPause + kWriteSucceeded;
    const Check nowLevel3 = FollowUp({"read"}, 0, {kLevel3});
    const Check stillLevel7 = FollowUp({"read"}, 0, {kLevel7});
    std::vector<Cell> cells{
        {row, "clean", {}, cli, 0, {"SUCCESSED"}, {}, written, {nowLevel3, PcLastSent(0xDF)}},
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
