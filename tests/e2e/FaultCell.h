#pragma once
#include <functional>

#include "SimSession.h"

namespace kel::e2e {

// One exchange under one simulator fault, as fault-matrix.cells states it.
struct Cell {
    std::string row, column;            // the exchange ("detect esc") and the fault kind
    std::vector<std::string> sim, cli;  // the arguments of kel-sim and of kel-cli (after --port)
    int exit = 0;
    std::vector<std::string> err;     // standard error, in order, without progress lines
    std::vector<std::string> out;     // lines standard output holds
    int waitsMs = 0;                  // the behaviour's own waits on this path
    std::vector<std::string> checks;  // "check" lines
    // A signal for kel-cli (Ctrl-C): sent once its progress reaches
    // `atPercent`, or else once kel-sim's byte log shows `simLogHas`.
    struct Interrupt {
        int signal = 0;
        int atPercent = -1;
        std::string simLogHas;
    } interrupt = {};
};

// The cells of a .cells file, and its waits by name; `error` says what is
// wrong with the file (empty when nothing).
struct CellFile {
    std::vector<std::pair<std::string, std::string>> columns;  // fault kind, short heading, in print order
    std::vector<Cell> cells;
    std::map<std::string, int> waits;
    std::string error;
};
CellFile ReadCells(const std::string& path);

// The files a cell names as {zrv}, {cfg}, ... (fault-matrix.cells lists them).
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
    std::string simLog;                 // kel-sim's byte log of the run itself (not of the follow-ups)
    const SimReport* report = nullptr;  // what the devices held when kel-sim stopped
};

// Whether a progress line of standard error ("Updating 35%") shows `percent` or more.
bool ProgressReached(const std::string& err, int percent);
std::vector<std::string> Lines(const std::string& text);

// In an expected line of standard error, stands for any text.
inline const std::string kAnyText = "{any}";
// Stands in the expected standard error for one line, anywhere, that starts
// "kel-cli: " and names the port: the report of a box that went away.
inline const std::string kPortFailure = "{port-failure}";

// A "check" line: whether it reads kel-sim's report (so runs once kel-sim has
// stopped), and what it found ("" when it holds).
bool ChecksReport(const std::string& check);
std::string Verify(const std::string& check, CellContext& context);

struct CellResult {
    const Cell* cell = nullptr;
    std::vector<std::string> problems;  // empty when the cell passed
    bool onlySlow = false;              // its one problem was the time it took
};

// Makes the sample firmware the cells name ({zrv}, {xup}, ...) in `folder`.
// Returns what went wrong, "" on success.
std::string MakeSampleFiles(const Programs& programs, const std::string& folder);

// The time a run takes beyond its waits, on this build and machine: `jobs`
// clean `detect --as box` runs side by side, the slowest of them less its
// waits (`openMs`), doubled, plus some slack. A sanitizer build starts slower.
int CalibrateMargin(const Programs& programs, int jobs, int openMs);

// Runs every cell on its own kel-sim, `jobs` at a time; a run must end within
// its waits plus marginMs. A cell whose only fault was its time runs once more,
// so that a burst of load on the machine does not fail it; a wait too many
// fails both times.
std::vector<CellResult> RunCells(const Programs& programs, const std::string& sharedFolder,
                                 const std::vector<Cell>& cells, int jobs, int marginMs);

// The matrix (one row per exchange, one column per fault), what failed, and
// "N passed, M failed".
std::string Report(const CellFile& file, const std::vector<CellResult>& results);

}  // namespace kel::e2e
