// Port names and open failures on Windows, as the user is told.
#include <QCoreApplication>
#include <gtest/gtest.h>
#include <windows.h>

#include "link/qt/PortDiagnostics.h"
#include "link/qt/QtSerialDevice.h"
#include "link/qt/QtSerialDeviceOs.h"
#include "link/qt/WindowsPortName.h"

namespace kel {
namespace {

TEST(WindowsPortName, EveryComNumberGetsTheDevicePrefix)
{
    const std::pair<std::string, std::wstring> cases[] = {
        {"COM5", L"\\\\.\\COM5"},
        {"COM10", L"\\\\.\\COM10"},
        {"COM256", L"\\\\.\\COM256"},
        {"\\\\.\\COM12", L"\\\\.\\COM12"},
    };
    for (const auto& [port, path] : cases)
        EXPECT_EQ(WindowsDevicePath(port), path) << port;
}

TEST(PortDiagnosticsWindows, NamesCauseAndFix)
{
    const struct {
        int error;
        std::string mustSay;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "COM7 does not exist: is the program box plugged in?"},
        {ERROR_FILE_NOT_FOUND, "USB serial device"},
        {ERROR_ACCESS_DENIED, "COM7 is in use by another program (Windows does not say which)"},
        {ERROR_SHARING_VIOLATION, "in use by another program"},
        {ERROR_GEN_FAILURE, "cannot open COM7: "},
    };
    for (const auto& c : cases)
        EXPECT_NE(DiagnoseOpenFailure("COM7", c.error).find(c.mustSay), std::string::npos)
            << c.error << ": " << DiagnoseOpenFailure("COM7", c.error);
    // The system's own words follow, not a bare number.
    EXPECT_GT(DiagnoseOpenFailure("COM7", ERROR_GEN_FAILURE).size(), std::string("cannot open COM7: 31").size());
}

TEST(PortDiagnosticsWindows, HandleThatIsNoPortCountsAsGone)
{
    EXPECT_TRUE(DeviceGone(INVALID_HANDLE_VALUE));
    // A handle the serial driver does not serve answers no port request.
    wchar_t name[MAX_PATH];
    ASSERT_NE(::GetModuleFileNameW(nullptr, name, MAX_PATH), 0u);
    const HANDLE file = ::CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(DeviceGone(file));
    ::CloseHandle(file);
}

}  // namespace
}  // namespace kel

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
