// Real signals at real speed: how long kel-cli takes from Ctrl-C to its exit
// at the wire speed of the box, and a profile save that SIGTERM stops on its
// way without touching the file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "FaultCell.h"
#include "SimSession.h"

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

// SIGTERM at each step of the connection and the read: the old profile
// stays, whole, and no temporary file is left.
TEST(Interrupt, ProfileSaveStoppedOnTheWayLeavesTheOldFile)
{
    SimSession sim({"--verbose"});
    ASSERT_FALSE(sim.Port().empty());
    const std::string folder = sim.Folder() + "/profiles";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/race.cfg";
    const std::string old(31, 'O');
    for (const std::string step : {"from PC: D5", "from PC: D7", "from PC: D8", "to PC: D8"}) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(WriteWholeFile(path, old));
        const std::size_t logBefore = sim.Log().size();
        const SignalWhen signal{
            SIGTERM, [&](const std::string&) { return sim.Log().find(step, logBefore) != std::string::npos; }};
        const RunResult run = sim.Cli({"profile", "save", path}, 30'000, signal);
        EXPECT_EQ(run.exitCode, 143);
        EXPECT_EQ(run.err, "kel-cli: interrupted by SIGTERM; " + path + " was not changed\n");
        EXPECT_EQ(ReadWholeFile(path), old);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename(), "race.cfg");
    }
}

}  // namespace
}  // namespace kel::e2e
