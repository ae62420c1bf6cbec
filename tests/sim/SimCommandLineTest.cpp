#include <gtest/gtest.h>

#include "sim/SimCommandLine.h"

namespace kel::sim {
namespace {

TEST(SimCommandLine, VersionsAreFourBytes)
{
    struct Case {
        const char* text;
        std::optional<Version> expected;
    };
    const Case cases[] = {
        {"1.2.3.4", Version{1, 2, 3, 4}},
        {"0x10.0.0.1", Version{16, 0, 0, 1}},
        {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1.2.3.256", std::nullopt},
        {"1..3.4", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseVersion(c.text), c.expected) << c.text;
}

TEST(SimCommandLine, TakesEveryOption)
{
    SimCommandLine line;
    const std::string error =
        ParseSimCommandLine({"--link", "/tmp/box", "--pace", "--esc-version", "3.1.4.1", "--box-version=2.7.1.8",
                             "--stock", "--esc-in-loader", "--fault", "refused-pair=3", "--fault=no-echo", "--verbose"},
                            line);
    ASSERT_EQ(error, "");
    EXPECT_EQ(line.link, "/tmp/box");
    EXPECT_TRUE(line.pace);
    EXPECT_TRUE(line.verbose);
    EXPECT_EQ(line.device.escVersion, (Version{3, 1, 4, 1}));
    EXPECT_EQ(line.device.boxVersion, (Version{2, 7, 1, 8}));
    EXPECT_TRUE(line.device.escStock);
    EXPECT_TRUE(line.device.escInLoader);
    EXPECT_TRUE(line.device.faults.IsSet(FaultKind::RefusedPair));
    EXPECT_TRUE(line.device.faults.IsSet(FaultKind::NoEcho));
    EXPECT_FALSE(line.device.faults.IsSet(FaultKind::NoReply));
}

TEST(SimCommandLine, TellsWhatIsWrong)
{
    struct Case {
        std::vector<std::string> args;
        const char* errorPart;
    };
    const Case cases[] = {
        {{"--link"}, "needs a value"},
        {{"--esc-version", "1.2"}, "A.B.C.D"},
        {{"--fault", "nothing"}, "unknown fault"},
        {{"--write-zrv", "a.zrv"}, "--size"},
        {{"--size", "10"}, "goes with"},
        {{"--write-xup", "a.xup", "--size", "ten"}, "byte count"},
        {{"--write-zrv", "a.zrv", "--write-xup", "b.xup", "--size", "1"}, "one sample"},
        {{"--no-esc", "--esc-in-loader"}, "contradict"},
        {{"--color"}, "unknown option"},
        {{"--replay", "box.log", "--pace"}, "--pace does not go with it"},
        {{"--fault=no-echo", "--replay=box.log"}, "--fault does not go with it"},
    };
    for (const auto& c : cases) {
        SimCommandLine line;
        const std::string error = ParseSimCommandLine(c.args, line);
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.args.front() << ": \"" << error << "\"";
    }
}

TEST(SimCommandLine, HelpDocumentsTheBlockCheckEveryOptionAndFault)
{
    const std::string help = SimHelpText();
    for (const char* part : {"CRC-16/CCITT-FALSE", "--link", "--pace", "--esc-version", "--box-version", "--stock",
                             "--esc-in-loader", "--no-esc", "--fault", "--write-zrv", "--write-xup", "--size",
                             "--verbose", "--version", "length 0", "--replay"})
        EXPECT_NE(help.find(part), std::string::npos) << part;
    for (const auto& f : AllFaults())
        EXPECT_NE(help.find(std::string("  ") + f.name), std::string::npos) << f.name;
}

}  // namespace
}  // namespace kel::sim
