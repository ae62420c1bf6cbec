// A traced read and write against kel-sim, replayed by kel-sim --replay:
// kel-cli sees the same box, ends the same way, and uses up the log.
#include <gtest/gtest.h>

#include "SimSession.h"

namespace kel::e2e {
namespace {

TEST(TraceRoundTrip, ReplayedReadAndWriteEndAsTheyDid)
{
    const std::vector<std::vector<std::string>> commands{{"read"},
                                                         {"write", "Power Level=Level 3", "Drag Brake custom=25%"}};
    std::vector<RunResult> traced;
    SimSession session({});
    const std::string log = session.Folder() + "/box.log";
    for (const auto& command : commands) {
        std::vector<std::string> args{"--trace", log};
        args.insert(args.end(), command.begin(), command.end());
        traced.push_back(session.Cli(args));
        ASSERT_EQ(traced.back().exitCode, 0) << traced.back().err;
    }
    const std::string text = ReadWholeFile(log);
    for (const char* part : {"## kel-cli", "\n# poll\n", "\n# read settings\n", "\n# write settings\n", " ms  > DF\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;

    const Programs programs = BuiltPrograms();
    SimProcess replay(programs.sim, {"--replay", log}, session.Folder() + "/replay.log");
    ASSERT_NE(replay.Port(), "");
    for (std::size_t i = 0; i < commands.size(); ++i) {
        std::vector<std::string> args{"--port", replay.Port()};
        args.insert(args.end(), commands[i].begin(), commands[i].end());
        const RunResult again = RunProgram(programs.cli, args, 60'000);
        EXPECT_EQ(again.exitCode, traced[i].exitCode) << again.err;
        EXPECT_EQ(again.out, traced[i].out);
        EXPECT_EQ(again.err, traced[i].err);
    }
    replay.Stop();
    EXPECT_EQ(replay.Log(), "kel-sim: replay: every byte of the log was played\n");
}

}  // namespace
}  // namespace kel::e2e
