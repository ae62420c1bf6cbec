// Real signals at real speed: how long kel-cli takes from Ctrl-C to its exit
// at the wire speed of the box (the fault matrix checks what they leave).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include "FaultCell.h"

namespace kel::e2e {
namespace {

SignalWhen When(int signal, int percent)
{
    return {signal, [percent](const std::string& err) { return ProgressReached(err, percent); }};
}

TEST(Interrupt, ExitFollowsTheSignalWithinOneStepAtWireSpeed)
{
    SimSession sim({"--pace"});
    ASSERT_FALSE(sim.Port().empty());
    const std::string zrv = sim.SampleFirmware("f.zrv", 1024);
    const struct {
        std::vector<std::string> cli;
        SignalWhen signal;
        std::string says;
    } cases[] = {
        {{"write", "Power Level=Level 3"}, When(SIGTERM, 50), "holds a mix of old and new settings"},
        {{"flash-esc", zrv}, When(SIGINT, 30), "'kel-cli flash-esc --fix " + zrv + "'"},
        // The ESC the first update left in its loader.
        {{"flash-esc", "--fix", zrv}, When(SIGTERM, 50), "waits in its boot loader"},
    };
    for (const auto& c : cases) {
        const RunResult run = sim.Cli(c.cli, 60'000, c.signal);
        EXPECT_EQ(run.exitCode, 128 + c.signal.signal) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        // One record or pair and its answer at 19200 baud, then the end of a
        // write (0xDF) and the process's end (slower in a sanitizer build).
        EXPECT_LT(run.signalToExitMs, 1000) << c.cli[0];
        std::printf("%s: %lld ms from the signal to the exit\n", c.cli[0].c_str(),
                    static_cast<long long>(run.signalToExitMs));
    }
}

}  // namespace
}  // namespace kel::e2e
