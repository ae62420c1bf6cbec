#pragma once
#include <string>
#include <vector>

#include "FaultCell.h"

namespace kel::e2e {

struct Programs {
    std::string cli;  // kel-cli
    std::string sim;  // kel-sim
};

struct CellResult {
    const Cell* cell = nullptr;
    std::int64_t wallMs = 0;
    std::vector<std::string> problems;  // empty when the cell passed
    bool onlySlow = false;              // its one problem was the time it took
    int runs = 1;                       // a run that was only slow is run once more
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

// The matrix (one row per exchange, one column per fault), one line per cell,
// what failed, and "N passed, M failed".
std::string Report(const CellFile& file, const std::vector<CellResult>& results, int marginMs);

}  // namespace kel::e2e
