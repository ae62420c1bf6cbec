// Runs the real kel-sim and talks to it over its pseudo-terminal with plain
// POSIX calls. Every e2e test talks to kel-sim this way; this one follows it
// through an unplug and a replug.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "support/Process.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint8_t kProbe = 0xD5;

int OpenRaw(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    if (fd >= 0 && tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        cfsetspeed(&t, B19200);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Sends the ESC probe and returns the two bytes that come back within 2 s.
Bytes Probe(int fd)
{
    Bytes bytes;
    if (write(fd, &kProbe, 1) != 1)
        return bytes;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    pollfd p{fd, POLLIN, 0};
    while (bytes.size() < 2 && std::chrono::steady_clock::now() < end) {
        std::uint8_t byte = 0;
        if (poll(&p, 1, 20) > 0 && read(fd, &byte, 1) == 1)
            bytes.push_back(byte);
    }
    return bytes;
}

TEST(KelSim, UnplugClosesTheTerminalAndReplugRepointsTheLink)
{
    const std::string link = testing::TempDir() + "kel-sim-e2e-box";
    std::remove(link.c_str());
    kel::test::SimProcess sim(KEL_SIM_PATH, {"--link", link, "--fault", "unplug=1", "--fault", "replug=300"},
                              testing::TempDir() + "kel-sim-e2e.log");
    ASSERT_EQ(sim.Port().rfind("/dev/", 0), 0u) << "first line: \"" << sim.Port() << "\"";
    int fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Probe(fd), (Bytes{0xD5, 0x26}));

    const std::string second = sim.ReadLine(5000);  // printed when the box is back
    ASSERT_NE(second, "");
    bool writeFailed = false;
    for (int i = 0; i < 50 && !writeFailed; ++i)
        writeFailed = write(fd, &kProbe, 1) != 1;
    EXPECT_TRUE(writeFailed) << "the old terminal is gone";
    close(fd);

    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), second);
    fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Probe(fd), (Bytes{0xD5, 0x26}));
    close(fd);

    EXPECT_EQ(sim.Stop(), 0);
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link is removed on exit";
}

}  // namespace
