// Ctrl-C (SIGINT) and SIGTERM in the middle of the exchanges: kel-cli stops at
// a safe point, releases the port and its lock, and says how the device was
// left. The signal goes out at a point its progress or kel-sim's log shows.
#include <csignal>

#include "FaultCell.h"
#include "Waits.h"

namespace kel::e2e {

using namespace waits;

namespace {

const std::string kSettingsRequested = "from PC: D8";

Cell Interrupted(std::string row, std::vector<std::string> cli, Cell::Interrupt interrupt, std::string message,
                 int waitsMs, std::vector<Check> checks)
{
    checks.insert(checks.begin(), NoLockLeft());
    const std::string name = interrupt.signal == SIGINT ? "SIGINT" : "SIGTERM";
    return {std::move(row), "interrupt", {}, std::move(cli), 128 + interrupt.signal,
            {"kel-cli: interrupted by " + name + "; " + message}, {}, waitsMs, std::move(checks),
            std::move(interrupt)};
}

} // namespace

std::vector<Cell> InterruptCells()
{
    return {
        Interrupted("read", {"read"}, {SIGINT, -1, kSettingsRequested}, "nothing was changed on the ESC", kEscFound,
                    {EscKeepsFactorySettings()}),
        // After the fifth pair: the ESC keeps the pairs it took, and the write is still ended.
        Interrupted("write", {"write", "Power Level=Level 3"}, {SIGINT, 25, {}},
                    "the ESC took {any} of 21 settings (Operation Mode, {any}) but not the rest ({any}Initial Brake "
                    "Custom), so it holds a mix of old and new settings: check them with 'kel-cli read' and run "
                    "the same 'kel-cli write' again",
                    kEscFound + kPairs * kPairPause, {PcLastSent(0xDF)}),
        Interrupted("profile save", {"profile", "save", "{cfg}"}, {SIGTERM, -1, kSettingsRequested},
                    "{cfg} was not changed", kEscFound, {ProfileUnchanged(), NoTemporaryFileLeft()}),
        Interrupted("flash-esc", {"flash-esc", "{zrv}"}, {SIGINT, 20, {}},
                    "the ESC took {any} of 65 records and waits in its boot loader without a whole firmware: flash "
                    "it again with 'kel-cli flash-esc --fix {zrv}' (in the window: FixMode, then Update); 'kel-cli "
                    "detect --as fix' shows it",
                    kEscFound,
                    {FollowUp({"detect"}, 1, {"An ESC waits in its boot loader (after an interrupted update?): flash "
                                              "it with 'kel-cli flash-esc --fix FILE', or choose FixMode in the "
                                              "window; 'kel-cli detect --as fix' shows it."}),
                     FollowUp({"detect", "--as", "fix"}, 0, {"ESC Connection:         on"})}),
        Interrupted("flash-box", {"flash-box", "{xup}"}, {SIGINT, 20, {}},
                    "the program box took {any} of 10 blocks and its firmware is incomplete: 'kel-cli detect --as "
                    "box' finds it again, then flash it again with 'kel-cli flash-box {xup}' (in the window: "
                    "ProgramBox, then Update)",
                    kOpen + kBoxHandshake, {FollowUp({"detect", "--as", "box"}, 0, {"ProgramBox Connection:  on"})}),
    };
}

} // namespace kel::e2e
