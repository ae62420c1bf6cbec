#pragma once
#include <string>

namespace kel::sim {

// A pseudo-terminal whose slave side a serial client opens like a serial port.
// The master is ours; we also keep the slave open ourselves, so the master
// never sees a hang-up between two clients.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new terminal in raw mode at 19200 baud; false with Error() set on failure.
    bool Open();
    void Close();
    bool IsOpen() const { return master_ >= 0; }

    int MasterFd() const { return master_; }  // non-blocking
    const std::string& SlavePath() const { return slavePath_; }
    const std::string& Error() const { return error_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string error_;
};

}  // namespace kel::sim
