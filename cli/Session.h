#pragma once
#include <memory>
#include <optional>
#include <string>

#include "CliScreen.h"
#include "Interrupt.h"
#include "link/Clock.h"
#include "link/PortFinder.h"
#include "link/SerialDevice.h"
#include "link/qt/DeviceChoice.h"
#include "link/TraceFile.h"
#include "uilogic/KelDlgLogic.h"

namespace kel::cli {

struct GlobalOptions {
    std::optional<std::string> port;   // --port DEVICE
    bool simulate = false;             // --simulate
    bool json = false;                 // --json
    std::shared_ptr<TraceFile> trace;  // --trace FILE, opened before any command runs
};

// One run of the engine for a command: the device (real or simulated), the
// window logic and a terminal screen.
class Session {
public:
    explicit Session(const GlobalOptions& options);
    ~Session();

    KelDlgLogic& logic() { return *logic_; }
    CliScreen& screen() { return screen_; }
    CliPollTimer& timer() { return timer_; }
    SerialDevice& device() { return *device_.serial; }

    // Chooses the device radio button of the poll mode and runs ticks back to
    // back: the first opens the port, the next ones probe, until something
    // answers or `probeTicks` probes went unanswered. False when the port could
    // not be opened (the reason is then printed).
    bool Connect(int pollMode, int probeTicks = 3);

    // The exit status of a command that connected: when the port went away on
    // the way (the box was unplugged), says so and turns it into a failure.
    int Finish(int status);

    // SIGINT or SIGTERM asked to stop (the engine stops at its next safe point).
    bool Interrupted() const { return interrupt_.Requested(); }
    // Closes the port, which releases its lock file, prints "kel-cli:
    // interrupted by SIGNAL; STATE" and returns 128 + the signal.
    int Stop(const std::string& state);

private:
    InterruptFlag interrupt_;
    GlobalOptions options_;
    SteadyClock clock_;
    Device device_;
    CliScreen screen_;
    CliPollTimer timer_;
    std::unique_ptr<KelDlgLogic> logic_;
    bool connected_ = false;
};

}  // namespace kel::cli
