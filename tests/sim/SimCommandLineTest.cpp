#include <gtest/gtest.h>

#include "sim/SimCommandLine.h"

namespace kel::sim {
namespace {

TEST(SimCommandLine, TakesEveryOption)
{
    SimCommandLine line;
    const std::string error =
        ParseSimCommandLine({"--link", "/tmp/box", "--esc-version", "0x10.1.4.255", "--box-version=2.7.1.8", "--stock",
                             "--fault", "refused-pair=3", "--fault=no-echo"},
                            line);
    ASSERT_EQ(error, "");  // --pace, --verbose and --esc-in-loader are run in the fault matrix
    EXPECT_EQ(line.link, "/tmp/box");
    EXPECT_EQ(line.device.escVersion, (Version{16, 1, 4, 255}));
    EXPECT_EQ(line.device.boxVersion, (Version{2, 7, 1, 8}));
    EXPECT_TRUE(line.device.escStock);
    EXPECT_TRUE(line.device.faults.IsSet(FaultKind::RefusedPair));
    EXPECT_TRUE(line.device.faults.IsSet(FaultKind::NoEcho));
    EXPECT_FALSE(line.device.faults.IsSet(FaultKind::NoReply));
}

TEST(SimCommandLine, TellsWhatIsWrong)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--link"}, "needs a value"},
        {{"--esc-version", "1.2.3"}, "A.B.C.D"},
        {{"--box-version", "1.2.3.256"}, "A.B.C.D"},
        {{"--size", "10"}, "goes with"},
        {{"--write-xup", "a.xup", "--size", "ten"}, "byte count"},
        {{"--write-zrv", "a.zrv", "--write-xup", "b.xup", "--size", "1"}, "one sample"},
        {{"--no-esc", "--esc-in-loader"}, "contradict"},
        {{"--color"}, "unknown option"},
        {{"--replay=box.log", "--pace"}, "--pace does not go with it"},
    };
    for (const auto& [args, errorPart] : cases) {
        SimCommandLine line;
        const std::string error = ParseSimCommandLine(args, line);
        EXPECT_NE(error.find(errorPart), std::string::npos) << args.back() << ": \"" << error << "\"";
    }
}

}  // namespace
}  // namespace kel::sim
