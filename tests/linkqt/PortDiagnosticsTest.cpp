// Why a port cannot be opened, as the user is told.
#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "link/qt/PortDiagnostics.h"
#include "link/qt/QtSerialDevice.h"

namespace kel {
namespace {

// A pseudo-terminal standing in for the box's serial port.
struct Pty {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    const std::string path = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : "";
    ~Pty() { master >= 0 && ::close(master); }
};

TEST(PortDiagnostics, NamesCauseAndFix)
{
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    const struct {
        int error;
        std::string mustSay;
    } cases[] = {
        {EACCES, "permission denied on " + pty.path},
        {EACCES, "60-kel-program-box.rules"},
        {EACCES, "the group '"},
        {EBUSY, "is in use by"},
        {EIO, "Input/output error"},
    };
    for (const auto& c : cases)
        EXPECT_NE(DiagnoseOpenFailure(pty.path, c.error).find(c.mustSay), std::string::npos)
            << c.error << ": " << DiagnoseOpenFailure(pty.path, c.error);
    EXPECT_NE(DiagnoseOpenFailure("/dev/kel-no-such-box", ENOENT).find("does not exist"), std::string::npos);
}

TEST(PortDiagnostics, SecondOpenOfAHeldPortSaysItIsInUse)
{
    Pty pty;
    QtSerialDevice holder;
    QtSerialDevice second;
    ASSERT_TRUE(holder.Open(pty.path));
    EXPECT_FALSE(second.Open(pty.path));
    EXPECT_NE(second.LastError().find("in use by linkqt_tests (pid " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << second.LastError();
    holder.Close();
    EXPECT_TRUE(second.Open(pty.path));
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

// A lock file left by a process that has ended: its removal is advised, and
// the port is not said to be in use (a running holder is, as above).
TEST(PortDiagnostics, AStaleLockIsNotReportedAsInUse)
{
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    // The name kel-cli's port locking gives /dev/pts/N.
    const std::string lockFile = "/var/lock/LCK.." + pty.path.substr(5).replace(3, 1, "_");
    std::ofstream(lockFile) << GonePid() << "\nkel-cli\nhost\n";
    const std::string said = DiagnoseOpenFailure(pty.path, EBUSY);
    std::remove(lockFile.c_str());
    EXPECT_NE(said.find(pty.path + " is blocked by the lock file " + lockFile + " of process "), std::string::npos)
        << said;
    EXPECT_NE(said.find("which no longer runs: remove that file (rm " + lockFile), std::string::npos) << said;
    EXPECT_EQ(said.find("in use"), std::string::npos) << said;
}

}  // namespace
}  // namespace kel

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
