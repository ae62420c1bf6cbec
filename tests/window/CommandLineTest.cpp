#include <gtest/gtest.h>

#include "app/CommandLine.h"

using namespace kel::app;

namespace {

struct Case {
    std::vector<std::string> args;
    Request request;
    std::string expected;  // a run: " simulate", " port=…", " startup", in that order; an error: part of it
};

class CommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, ParsesAsTheHelpSays)
{
    const Case& c = GetParam();
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.request, c.request);
    if (c.request == Request::Error) {
        EXPECT_NE(parsed.error.find(c.expected), std::string::npos) << parsed.error;
    }
    if (c.request != Request::Run)
        return;
    const AppOptions& o = parsed.options;
    EXPECT_EQ((o.simulate ? " simulate" : "") + (o.port ? " port=" + *o.port : "")
                  + (o.reportStartup ? " startup" : ""),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(Case{{}, Request::Run, ""}, Case{{"--simulate"}, Request::Run, " simulate"},
                      Case{{"--port", "/dev/ttyUSB1"}, Request::Run, " port=/dev/ttyUSB1"},
                      Case{{"--port=/dev/ttyS0", "--report-startup"}, Request::Run, " port=/dev/ttyS0 startup"},
                      Case{{"--simulate", "--help"}, Request::Help, ""}, Case{{"--version"}, Request::Version, ""},
                      Case{{"--port"}, Request::Error, "--port needs a device"},
                      Case{{"--port="}, Request::Error, "--port needs a device"},
                      Case{{"--simulate", "--port", "x"}, Request::Error, "exclude"},
                      Case{{"--simualte"}, Request::Error, "'--simualte'"},
                      Case{{"extra"}, Request::Error, "'extra'"}));

TEST(EarlyRequestTest, HelpAndVersionNeedNoDisplayAndTraceTakesTheFileThatFollows)
{
    EXPECT_EQ(EarlyRequest({"-platform", "offscreen", "--help"}), Request::Help);
    EXPECT_EQ(EarlyRequest({"--version", "--simulate"}), Request::Version);
    // A device or a file may be called anything.
    EXPECT_EQ(EarlyRequest({"--port", "--help"}), Request::Run);
    EXPECT_EQ(EarlyRequest({"--trace", "--help"}), Request::Run);
    EXPECT_EQ(ParseCommandLine({"--trace", "box.log", "--simulate"}).options.trace, "box.log");
    EXPECT_EQ(ParseCommandLine({"--trace", "--help"}).options.trace, "--help");
    EXPECT_NE(ParseCommandLine({"--trace"}).error.find("--trace needs a file"), std::string::npos);
}

}  // namespace
