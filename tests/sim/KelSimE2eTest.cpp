// Runs the real kel-sim and talks to it over its pseudo-terminal with plain
// POSIX calls.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// kel-sim as a child process; its standard output is read line by line.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<char*> argv{const_cast<char*>(KEL_SIM_PATH)};
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(KEL_SIM_PATH, argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
    }
    ~SimProcess()
    {
        Stop();
        if (out_ >= 0)
            close(out_);
    }
    // The next line of standard output, "" after timeoutMs.
    std::string ReadLine(int timeoutMs)
    {
        std::string line;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            char c;
            if (read(out_, &c, 1) != 1)
                break;
            if (c == '\n')
                return line;
            line += c;
        }
        return {};
    }
    int Stop()
    {
        if (pid_ <= 0)
            return status_;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return status_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int status_ = -1;
};

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

TEST(KelSim, AnswersTheEscProbeOnItsTerminal)
{
    SimProcess sim({"--pace"});
    const std::string path = sim.ReadLine(5000);
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << "first line: \"" << path << "\"";
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);
    const std::uint8_t probe = 0xD5;
    ASSERT_EQ(write(fd, &probe, 1), 1);
    EXPECT_EQ(ReadBytes(fd, 2, 2000), (Bytes{0xD5, 0x26}));
    close(fd);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(KelSim, UnplugClosesTheTerminalAndReplugRepointsTheLink)
{
    const std::string link = testing::TempDir() + "kel-sim-e2e-box";
    std::remove(link.c_str());
    SimProcess sim({"--link", link, "--fault", "unplug=1", "--fault", "replug=300"});
    ASSERT_NE(sim.ReadLine(5000), "");
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
    struct stat st{};
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link is removed on exit";
}

} // namespace
