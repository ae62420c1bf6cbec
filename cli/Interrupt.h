#pragma once
#include <string>

#include "link/StopRequest.h"

namespace kel::cli {

// SIGINT and SIGTERM (Ctrl-C, and Ctrl-Break or closing the console where
// the platform has them) only raise a flag; the engine looks at it at its
// safe points and kel-cli then says how the device was left.

// Installs the handlers (one file per platform: InterruptPosix.cpp, ...).
void InstallInterruptHandlers();
// Called by the handlers, and only there: records the signal.
void RaiseInterrupt(int signal);

// The signal that asked kel-cli to stop, 0 while none did.
int InterruptSignal();
// "SIGINT", "SIGTERM", or "signal N".
std::string InterruptName();
// 128 + the signal, as a shell reports a process the signal ended.
int InterruptExitStatus();

class InterruptFlag final : public StopRequest {
public:
    bool Requested() const override { return InterruptSignal() != 0; }
};

// What the device holds after an exchange stopped at `at`, and what to do,
// as the rest of the "interrupted" line. `file` is the firmware file.
std::string DescribeStop(const StopPoint& at, const std::string& file);

}  // namespace kel::cli
