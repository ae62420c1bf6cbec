// Why a port cannot be opened, as the user is told, and the port under a
// device that floods it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "link/qt/PortDiagnostics.h"
#include "link/qt/QtSerialDevice.h"

namespace kel {
namespace {

// A pseudo-terminal standing in for the box's serial port.
class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~Pty()
    {
        if (master_ >= 0)
            ::close(master_);
    }
    const std::string& path() const { return path_; }
    int master() const { return master_; }

private:
    int master_ = -1;
    std::string path_;
};

TEST(PortDiagnostics, NamesCauseAndFix)
{
    Pty pty;
    ASSERT_FALSE(pty.path().empty());
    const struct {
        int error;
        std::string mustSay;
    } cases[] = {
        {EACCES, "permission denied on " + pty.path()},
        {EACCES, "60-kel-program-box.rules"},
        {EACCES, "the group '"},
        {EBUSY, "is in use by"},
        {EIO, "Input/output error"},
    };
    for (const auto& c : cases)
        EXPECT_NE(DiagnoseOpenFailure(pty.path(), c.error).find(c.mustSay), std::string::npos)
            << c.error << ": " << DiagnoseOpenFailure(pty.path(), c.error);
    EXPECT_NE(DiagnoseOpenFailure("/dev/kel-no-such-box", ENOENT).find("does not exist"), std::string::npos);
}

TEST(PortDiagnostics, SecondOpenOfAHeldPortSaysItIsInUse)
{
    Pty pty;
    QtSerialDevice holder;
    QtSerialDevice second;
    ASSERT_TRUE(holder.Open(pty.path()));
    EXPECT_FALSE(second.Open(pty.path()));
    EXPECT_NE(second.LastError().find("in use by linkqt_tests (pid " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << second.LastError();
    holder.Close();
    EXPECT_TRUE(second.Open(pty.path()));
}

// A pid that no process has any more: a child that has been waited for.
int GonePid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(PortDiagnostics, AStaleLockIsNotReportedAsInUse)
{
    Pty pty;
    ASSERT_FALSE(pty.path().empty());
    // The name kel-cli's port locking gives /dev/pts/N.
    const std::string lockFile = "/var/lock/LCK.." + pty.path().substr(5).replace(3, 1, "_");
    const struct {
        int pid;
        std::string mustSay;
    } cases[] = {
        {GonePid(), pty.path() + " is blocked by the lock file " + lockFile + " of process "},
        {GonePid(), "which no longer runs: remove that file (rm " + lockFile},
        {::getpid(), pty.path() + " is in use by linkqt_tests (pid " + std::to_string(::getpid()) + ")"},
    };
    for (const auto& c : cases) {
        {
            std::ofstream lock(lockFile);
            lock << c.pid << "\nkel-cli\nhost\n";
        }
        const std::string said = DiagnoseOpenFailure(pty.path(), EBUSY);
        EXPECT_NE(said.find(c.mustSay), std::string::npos) << said;
        EXPECT_EQ(said.find("in use") == std::string::npos, c.pid != ::getpid()) << said;
    }
    std::remove(lockFile.c_str());
}

// The window runs an event loop, in which QSerialPort takes whatever arrives:
// a port that sends without end must not make it hold more than its bound.
TEST(QtSerialDevice, FloodingPortFillsNoMoreThanTheReceiveBound)
{
    Pty pty;
    const int master = pty.master();
    QtSerialDevice device;
    ASSERT_TRUE(device.Open(pty.path()));
    device.SetLineSettings(19200);

    constexpr std::size_t kFlood = 4 * 1024 * 1024;
    std::atomic<std::size_t> written{0};
    std::atomic<bool> stop{false};
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    std::thread writer([&] {
        const std::vector<char> noise(4096, 0x55);
        while (!stop && written < kFlood) {
            const ssize_t n = ::write(master, noise.data(), noise.size());
            if (n > 0)
                written += static_cast<std::size_t>(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));  // full: the port takes no more
        }
    });
    QElapsedTimer clock;
    clock.start();
    std::size_t most = 0;
    while (clock.elapsed() < 500 && written < kFlood) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        most = std::max(most, device.Buffered());
    }
    stop = true;
    writer.join();
    device.Close();
    EXPECT_GT(most, 0u) << "the flood reached the port";
    EXPECT_LE(most, static_cast<std::size_t>(QtSerialDevice::kReadBufferBytes));
}

}  // namespace
}  // namespace kel

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
