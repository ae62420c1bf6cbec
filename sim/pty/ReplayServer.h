#pragma once
#include <ostream>

#include "sim/TraceReplay.h"
#include "sim/pty/PseudoTerminal.h"

namespace kel::sim {

// kel-sim --replay: serves a TraceReplay on a pseudo-terminal. The terminal's
// path goes to `out`; why the replay fell silent (and, verbose, every byte)
// to `log`.
class ReplayServer {
public:
    ReplayServer(TraceReplay& replay, bool verbose, std::ostream& out, std::ostream& log);

    // Serves until stopFd becomes readable: 0, or 1 when no terminal could be opened.
    int Run(int stopFd);

private:
    bool Send(const std::vector<std::uint8_t>& bytes);
    void LogBytes(const char* direction, const std::uint8_t* data, std::size_t count);

    TraceReplay& replay_;
    bool verbose_;
    std::ostream& out_;
    std::ostream& log_;
    PseudoTerminal terminal_;
    bool toldDone_ = false;
};

}  // namespace kel::sim
