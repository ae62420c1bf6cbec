// Runs the real kel-sim and talks to it over its pseudo-terminal with plain
// POSIX calls.
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
using kel::test::SimProcess;

int OpenRaw(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, B19200);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

Bytes ReadBytes(int fd, std::size_t count, int timeoutMs)
{
    Bytes bytes;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0)
            continue;
        std::uint8_t buffer[64];
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

// Every e2e test talks to kel-sim over its terminal; this one follows it
// through an unplug and a replug.
TEST(KelSim, UnplugClosesTheTerminalAndReplugRepointsTheLink)
{
    const std::string link = testing::TempDir() + "kel-sim-e2e-box";
    std::remove(link.c_str());
    SimProcess sim(KEL_SIM_PATH, {"--link", link, "--fault", "unplug=1", "--fault", "replug=300"},
                   testing::TempDir() + "kel-sim-e2e.log");
    ASSERT_NE(sim.Port(), "");
    int fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    const std::uint8_t probe = 0xD5;
    ASSERT_EQ(write(fd, &probe, 1), 1);
    EXPECT_EQ(ReadBytes(fd, 2, 2000), (Bytes{0xD5, 0x26}));

    const std::string second = sim.ReadLine(5000);  // printed when the box is back
    ASSERT_NE(second, "");
    bool writeFailed = false;
    for (int i = 0; i < 50 && !writeFailed; ++i)
        writeFailed = write(fd, &probe, 1) != 1;
    EXPECT_TRUE(writeFailed) << "the old terminal is gone";
    close(fd);

    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), second);
    fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, &probe, 1), 1);
    EXPECT_EQ(ReadBytes(fd, 2, 2000), (Bytes{0xD5, 0x26}));
    close(fd);

    EXPECT_EQ(sim.Stop(), 0);
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link is removed on exit";
}

}  // namespace
