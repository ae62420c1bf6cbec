// kel-sim --replay: the box as an exchange log shows it.
#include <gtest/gtest.h>

#include "sim/TraceReplay.h"

namespace kel::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A poll the ESC answers, then the settings request, as the log has them;
// the box's 0x99 before the PC wrote anything.
const char* const kLog = "## kel-cli test\n"
                         "# other\n"
                         "     0 ms  < 99\n"
                         "# poll\n"
                         "     1 ms  > D5\n"
                         "     1 ms  < D5\n"
                         "     2 ms  < 26\n"
                         "# read settings\n"
                         "     3 ms  > E1\n"
                         "     3 ms  > 00\n"
                         "     4 ms  < E1\n"
                         "     4 ms  < 00\n"
                         "     5 ms  < 01\n";

TEST(TraceReplay, AnswersWhatTheLogShowsUntilTheFirstSurprise)
{
    struct Case {
        Bytes fromPc;
        Bytes answered;
        const char* problem;  // "" while it still answers
    };
    const Case cases[] = {
        {{0xD5, 0xE1, 0x00}, {0xD5, 0x26, 0xE1, 0x00, 0x01}, ""},
        {{0xD5, 0xD8, 0xE1}, {0xD5, 0x26}, "the PC sent D8 where line 9 of the log (read settings) has > E1"},
        {{0xD5, 0xE1, 0x00, 0xD5}, {0xD5, 0x26, 0xE1, 0x00, 0x01}, "the PC sent D5 after the last byte of the log"},
        {{0xE1, 0xD5}, {}, "line 5 of the log (poll) has > D5"},
    };
    for (const Case& c : cases) {
        const ParsedTrace log = ParseTrace(kLog);
        ASSERT_EQ(log.error, "");
        TraceReplay replay(log.entries);
        EXPECT_EQ(replay.Opening(), Bytes{0x99});
        Bytes answered;
        for (std::uint8_t byte : c.fromPc) {
            const Bytes answer = replay.Receive(byte);
            answered.insert(answered.end(), answer.begin(), answer.end());
        }
        EXPECT_EQ(answered, c.answered) << c.problem;
        EXPECT_EQ(replay.Silent(), *c.problem != '\0') << c.problem;
        EXPECT_NE(replay.Problem().find(c.problem), std::string::npos) << replay.Problem();
        EXPECT_TRUE(replay.Receive(0xD5).empty() || !replay.Silent()) << "silent for good";
    }
}

}  // namespace
}  // namespace kel::sim
