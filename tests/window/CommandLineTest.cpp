#include <gtest/gtest.h>

#include "app/CommandLine.h"

using namespace kel::app;

namespace {

struct Case {
    std::vector<std::string> args;
    Request request;
    bool simulate;
    std::optional<std::string> port;
    bool reportStartup;
    std::string errorPart;  // for errors: part of the message
};

class CommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, ParsesAsTheHelpSays)
{
    const Case& c = GetParam();
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.request, c.request);
    if (c.request == Request::Error) {
        EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos) << parsed.error;
    }
    if (c.request != Request::Run)
        return;
    EXPECT_EQ(parsed.options.simulate, c.simulate);
    EXPECT_EQ(parsed.options.port, c.port);
    EXPECT_EQ(parsed.options.reportStartup, c.reportStartup);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(Case{{}, Request::Run, false, std::nullopt, false, ""},
                      Case{{"--simulate"}, Request::Run, true, std::nullopt, false, ""},
                      Case{{"--port", "/dev/ttyUSB1"}, Request::Run, false, "/dev/ttyUSB1", false, ""},
                      Case{{"--port=/dev/ttyS0", "--report-startup"}, Request::Run, false, "/dev/ttyS0", true, ""},
                      Case{{"--simulate", "--help"}, Request::Help, false, std::nullopt, false, ""},
                      Case{{"--version"}, Request::Version, false, std::nullopt, false, ""},
                      Case{{"--port"}, Request::Error, false, std::nullopt, false, "--port needs a device"},
                      Case{{"--port="}, Request::Error, false, std::nullopt, false, "--port needs a device"},
                      Case{{"--simulate", "--port", "x"}, Request::Error, false, std::nullopt, false, "exclude"},
                      Case{{"--simualte"}, Request::Error, false, std::nullopt, false, "'--simualte'"},
                      Case{{"extra"}, Request::Error, false, std::nullopt, false, "'extra'"}));

TEST(EarlyRequestTest, HelpAndVersionNeedNoDisplay)
{
    EXPECT_EQ(EarlyRequest({"-platform", "offscreen", "--help"}), Request::Help);
    EXPECT_EQ(EarlyRequest({"--version", "--simulate"}), Request::Version);
    EXPECT_EQ(EarlyRequest({"--simulate"}), Request::Run);
    // A device may be called anything.
    EXPECT_EQ(EarlyRequest({"--port", "--help"}), Request::Run);
}

}  // namespace

TEST(CommandLineTrace, TakesTheFileThatFollows)
{
    EXPECT_EQ(ParseCommandLine({"--trace", "box.log", "--simulate"}).options.trace, "box.log");
    EXPECT_EQ(ParseCommandLine({"--trace", "--help"}).options.trace, "--help");  // a name, whatever it looks like
    EXPECT_EQ(EarlyRequest({"--trace", "--help"}), Request::Run);
    EXPECT_NE(ParseCommandLine({"--trace"}).error.find("--trace needs a file"), std::string::npos);
}
