#pragma once
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/Process.h"
#include "SimReport.h"
#include "Traffic.h"

namespace kel::e2e {

using test::MakeTempDir;
using test::ReadWholeFile;
using test::RunProgram;
using test::RunResult;
using test::SignalWhen;
using test::SimProcess;
using test::WriteWholeFile;

// Files a cell's command line may name, as placeholders:
//   {zrv} {zrv-small} {xup} {xup-damaged}  sample firmware shared by all cells
//   {zrv-lower}  the sample .zrv with lower-case hex digits; {fifo} a FIFO named .zrv
//   {cfg}      an existing profile the cell may overwrite (its old bytes are kOldProfile)
//   {missing}  a file that does not exist
//   {nodir}    a path in a folder that does not exist ({nodir-folder} that folder)
//   {port}     the simulator's terminal
struct Workspace {
    std::string shared;  // folder of the sample firmware
    std::string own;     // the cell's own folder
    std::string port;
    std::string Expand(const std::string& text) const;
};

inline const std::string kOldProfile(31, '\x5A');

// What a cell's run left, for the checks of what survives.
struct CellContext {
    const Workspace& ws;
    RunResult run;
    std::function<RunResult(const std::vector<std::string>&)> followUp;  // kel-cli on the same kel-sim
    const Traffic* traffic = nullptr;  // the bytes of the run itself (not of the follow-ups)
    const SimReport* report = nullptr; // what the devices held when kel-sim stopped
};

// A check returns "" when it holds, else what it found. Checks of the report
// run once kel-sim has stopped, after every other check of the cell.
struct Check {
    std::function<std::string(CellContext&)> verify;
    bool onReport = false;
};

// One exchange under one simulator fault.
struct Cell {
    std::string row;                   // the exchange, e.g. "detect esc"
    std::string column;                // the fault kind, one of kColumns
    std::vector<std::string> sim;      // kel-sim arguments
    std::vector<std::string> cli;      // kel-cli arguments after --port
    int exit = 0;
    std::vector<std::string> err;      // standard error, in order, without progress lines
    std::vector<std::string> out;      // lines standard output holds
    int waitsMs = 0;                   // the behaviour's own waits on this path
    std::vector<Check> checks;
    // A signal for kel-cli (Ctrl-C): sent once its progress reaches
    // `atPercent`, or else once kel-sim's byte log shows `simLogHas`.
    struct Interrupt {
        int signal = 0;
        int atPercent = -1;
        std::string simLogHas;
    } interrupt = {};
};

// Whether a progress line of standard error ("Updating 35%") shows `percent` or more.
bool ProgressReached(const std::string& err, int percent);

// In an expected line of standard error, stands for any text.
inline const std::string kAnyText = "{any}";

// Stands in the expected standard error for one line, anywhere, that starts
// "kel-cli: " and names the port: the report of a box that went away.
inline const std::string kPortFailure = "{port-failure}";

// Column keys in print order, with their short headings.
struct Column {
    const char* key;
    const char* heading;
};
inline constexpr Column kColumns[] = {
    {"clean", "clean"},       {"no-echo", "echo"},        {"no-reply", "reply"},
    {"late-reply", "late"},   {"no-settings-reply", "d8"}, {"short-reply", "short"},
    {"wrong-end-mark", "mark"}, {"refused-pair", "pair"}, {"no-second-ack", "ack2"},
    {"unplug", "unplug"},     {"wrong-d6-reply", "d6"},   {"no-ack", "noack"},
    {"d8-on-retry", "d8try"}, {"resend", "resend"},       {"bad-block-check", "crc"},
    {"refused-file", "file"}, {"late-bytes", "lateb"}, {"flood", "flood"},
    {"out-of-range", "range"}, {"interrupt", "intr"},   {"misstored-tag", "store"},
};

// The cells, by group of exchanges.
std::vector<Cell> DetectCells();
std::vector<Cell> SettingsCells();
std::vector<Cell> FirmwareCells();
std::vector<Cell> InterruptCells();

// Checks of what survives.
Check FollowUp(std::vector<std::string> cli, int exit, std::vector<std::string> out);
Check ProfileUnchanged();
Check ProfileReplaced();
Check PcSentOnly(std::set<std::uint8_t> allowed, int maxBytes = -1);
Check PcSent(std::uint8_t byte, bool sent);
Check PcLastSent(std::uint8_t byte);
Check EscKeepsFactorySettings();
Check NoLockLeft();
Check NoTemporaryFileLeft();
// Not one record reached the ESC's loader, and the ESC runs its application.
Check EscLoaderUntouched();
// No "Updating N%" line: nothing was sent, so nothing progressed.
Check NoUpdateProgress();

} // namespace kel::e2e
