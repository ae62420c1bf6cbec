// detect in its three modes under the faults that reach a probe.
#include "FaultCell.h"
#include "Waits.h"

namespace kel::e2e {

using namespace waits;

namespace {

const std::string kUsbOn = "USB Connection:         on";
const std::string kEscOn = "ESC Connection:         on";
const std::string kEscOff = "ESC Connection:         off";
const std::string kBoxOn = "ProgramBox Connection:  on";
const std::string kBoxOff = "ProgramBox Connection:  off";
const std::string kEscVersion = "Version:                Ver: 102304";
const std::string kBoxVersion = "Version:                Ver: 2010007";
const std::string kNoEsc = "No ESC answers.";
const std::string kNoBox = "The program box does not answer.";
const std::string kNoLoader = "No ESC waits in its boot loader.";
const std::string kUpdateFirmware = "ZORV: Please Update Device to Latest Firmware!";

std::vector<Cell> DetectEsc()
{
    const std::vector<std::string> cli{"detect"};
    const std::vector<std::string> notFound{kUsbOn, kEscOff, kNoEsc};
    // Nothing that could change the ESC's settings goes out while probing;
    // when no ESC answers, one 0xD6 asks whether it waits in its loader.
    const Check onlyProbes = PcSentOnly({0xD5, 0xD6});
    const int silent = kEscSilent + kFixProbe;
    const std::string row = "detect esc";
    std::vector<Cell> cells{
        {row, "clean", {}, cli, 0, {}, {kUsbOn, kEscOn, kBoxOff, kEscVersion}, kEscFound, {}},
        // The ESC's "&" is taken for the echo, so the probe's own read finds nothing.
        {row, "no-echo", {"--fault", "no-echo"}, cli, 1, {}, notFound, silent, {onlyProbes}},
        {row, "no-reply", {"--fault", "no-reply"}, cli, 1, {}, notFound, silent, {onlyProbes}},
        {row, "late-reply", {"--fault", "late-reply=1000"}, cli, 1, {}, notFound, silent, {onlyProbes}},
        // A found ESC stays found when reading its settings fails.
        {row, "no-settings-reply", {"--fault", "no-settings-reply"}, cli, 0, {kUpdateFirmware},
         {kEscOn, kEscVersion}, kOpen + kSettingsReply, {}},
        {row, "short-reply", {"--fault", "short-reply"}, cli, 0, {kUpdateFirmware}, {kEscOn, kEscVersion},
         kOpen + kSettingsReply, {}},
        {row, "wrong-end-mark", {"--fault", "wrong-end-mark"}, cli, 0, {}, {kEscOn, kEscVersion}, kEscFound, {}},
        // Gone after the two probes: the version query and the read find no box.
        {row, "unplug", {"--fault", "unplug=2"}, cli, 1, {kPortFailure}, {},
         kOpen + kEcho + kVersion + 3 * kWake + kReadPause, {}},
    };
    for (Cell& c : cells)
        c.checks.push_back(EscKeepsFactorySettings());  // whatever fails, a detect changes nothing
    return cells;
}

std::vector<Cell> DetectBox()
{
    const std::vector<std::string> cli{"detect", "--as", "box"};
    const std::vector<std::string> notFound{kUsbOn, kBoxOff, kNoBox};
    const Check onlyProbes = PcSentOnly({0xD4});
    const std::string row = "detect box";
    return {
        {row, "clean", {}, cli, 0, {}, {kUsbOn, kEscOff, kBoxOn, kBoxVersion}, kOpen, {}},
        // The first answer byte is taken for the echo; one byte is too few.
        {row, "no-echo", {"--fault", "no-echo"}, cli, 1, {}, notFound, kBoxSilent, {onlyProbes}},
        {row, "no-reply", {"--fault", "no-reply"}, cli, 1, {}, notFound, kBoxSilent, {onlyProbes}},
        {row, "late-reply", {"--fault", "late-reply=1000"}, cli, 1, {}, notFound, kBoxSilent, {onlyProbes}},
        // Gone after the probe: the version query finds no box.
        {row, "unplug", {"--fault", "unplug=1"}, cli, 1, {kPortFailure}, {}, kOpen + kEcho + kVersion, {}},
    };
}

std::vector<Cell> DetectFix()
{
    const std::vector<std::string> cli{"detect", "--as", "fix"};
    const std::vector<std::string> loader{"--esc-in-loader"};
    const std::vector<std::string> notFound{kUsbOn, kEscOff, kNoLoader};
    const Check onlyProbes = PcSentOnly({0xD6});
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), loader.begin(), loader.end());
        return more;
    };
    const std::string row = "detect fix";
    return {
        {row, "clean", loader, cli, 0, {}, {kUsbOn, kEscOn, kBoxOff}, kOpen, {}},
        // 0xD7 taken for the echo still heads the receive buffer, where the
        // probe looks for it.
        {row, "no-echo", with({"--fault", "no-echo"}), cli, 0, {}, {kEscOn}, kOpen + kFixProbe, {}},
        {row, "no-reply", with({"--fault", "no-reply"}), cli, 1, {}, notFound, kFixSilent, {onlyProbes}},
        {row, "late-reply", with({"--fault", "late-reply=1000"}), cli, 1, {}, notFound, kFixSilent, {onlyProbes}},
        {row, "wrong-d6-reply", with({"--fault", "wrong-d6-reply"}), cli, 1, {}, notFound, kOpen, {onlyProbes}},
        // No ESC in its loader: the box would answer after 100 ms of quiet,
        // but it is gone by then.
        {row, "unplug", {"--fault", "unplug=1"}, cli, 1, {kPortFailure}, {kEscOff}, kOpen + kFixProbe, {}},
    };
}

} // namespace

std::vector<Cell> DetectCells()
{
    std::vector<Cell> all = DetectEsc();
    for (auto* more : {DetectBox, DetectFix}) {
        auto cells = more();
        all.insert(all.end(), cells.begin(), cells.end());
    }
    return all;
}

} // namespace kel::e2e
