// Why a port cannot be opened, as the user is told.
#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
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

TEST(PortDiagnostics, NamesCauseAndFix_ASecondOpenOfAHeldPortSaysItIsInUse)
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

}  // namespace
}  // namespace kel

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
