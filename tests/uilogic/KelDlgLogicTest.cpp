#include <gtest/gtest.h>

#include "link/ControlIds.h"
#include "sim/InProcessDevice.h"
#include "support/RecordingScreen.h"
#include "uilogic/KelDlgLogic.h"

namespace kel {
namespace {

class KelDlgLogicTest : public ::testing::Test {
protected:
    VirtualClock clock;
    sim::InProcessDevice device{clock};
    sim::InProcessPortFinder finder{device};
    test::RecordingScreen screen;
    test::RecordingPollTimer timer;
    KelDlgLogic logic{device, finder, clock, screen, timer};

    std::string LastMessage() const { return screen.messages.empty() ? "" : screen.messages.back().text; }

    // Starts like the window: init, ESC radio, ticks until the ESC is read.
    void ConnectEsc()
    {
        logic.OnInitDialog();
        logic.OnDeviceRadio(id::kRadioEsc);
        logic.OnTimer();
        logic.OnTimer();
        ASSERT_EQ(logic.uart().escState, EscState::kConnected);
    }
};

TEST_F(KelDlgLogicTest, StartUpShowsDarkLampsAndPollsThenChoosingEscFillsThePages)
{
    logic.OnInitDialog();
    EXPECT_EQ(timer.periodMs, 2000);
    EXPECT_TRUE(timer.running);
    for (int lamp : {id::kLampUsb, id::kLampEsc, id::kLampBox})
        EXPECT_EQ(screen.bitmaps[lamp], id::bmp::kLampOff);
    EXPECT_EQ(screen.texts[id::kProfileName], "Profile1");
    EXPECT_FALSE(screen.IsEnabled(id::kInitialBrakeSpin) || screen.IsEnabled(id::kLowVoltEdit));
    logic.OnModeSelectShown();  // MOD before any read
    EXPECT_EQ(screen.bitmaps[id::kModeSwitch], id::bmp::kModeMod);
    EXPECT_TRUE(screen.IsEnabled(id::kPageBooster));

    ConnectEsc();
    EXPECT_TRUE(screen.IsLit(id::kLampUsb) && screen.IsLit(id::kLampEsc));
    EXPECT_EQ(screen.texts[id::kVersionField], "Ver: 102304");
    EXPECT_EQ(screen.texts[1081], "Level 7*");
    EXPECT_EQ(screen.texts[1104], "Normal*");
    EXPECT_EQ(screen.texts[id::kLowVoltEdit], "3.5v");
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(KelDlgLogicTest, ModeSwitchRefusesWithoutUsbThenWithoutEscThenToggles)
{
    logic.OnInitDialog();
    logic.OnModeSwitch();
    EXPECT_EQ(LastMessage(), "USB Connection Error!");
    logic.OnTimer();  // the port opens
    logic.OnModeSwitch();
    EXPECT_EQ(LastMessage(), "Device Connection Error!");
    EXPECT_EQ(screen.messages.back().caption, "ZORV");
    EXPECT_EQ(screen.messages.back().icon, MessageIcon::Error);

    logic.OnDeviceRadio(id::kRadioEsc);
    logic.OnTimer();
    ASSERT_EQ(logic.EscMode(), 1);
    logic.OnModeSwitch();
    EXPECT_EQ(logic.EscMode(), 0);
    EXPECT_EQ(screen.bitmaps[id::kModeSwitch], id::bmp::kModeStock);
    EXPECT_FALSE(screen.IsEnabled(id::kPageBooster) || screen.IsEnabled(id::kPageTurbo));
    logic.OnModeSwitch();
    EXPECT_EQ(screen.bitmaps[id::kModeSwitch], id::bmp::kModeMod);
    EXPECT_TRUE(screen.IsEnabled(id::kPageBooster));
    const std::size_t bytesBefore = device.BytesWritten();
    logic.OnModeSwitch();
    EXPECT_EQ(device.BytesWritten(), bytesBefore) << "the switch sends nothing";
}

TEST_F(KelDlgLogicTest, VerifyAfterWritingReadsBackAndNamesWhatDidNotTake)
{
    ConnectEsc();
    logic.OnOptionChosen(1081, 2);  // Power Level "Level 3"
    logic.SetVerifyAfterWriting(true);
    logic.OnApply();
    EXPECT_TRUE(screen.messages.empty()) << "everything took: SUCCESSED says it all";

    device.Model().Faults().Set(sim::FaultKind::MisstoredTag, 0xE4);  // Power Level stored one entry higher
    logic.OnOptionChosen(1081, 4);                                    // "Level 5"
    logic.OnApply();
    EXPECT_EQ(screen.settingsProgressTitle, std::optional<bool>(true)) << "every pair was acknowledged";
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(
        LastMessage(),
        "Read back after writing, these settings did not take:\nPower Level: written Level 5, the ESC holds Level 6");
    EXPECT_EQ(screen.messages.back().caption, "");
    EXPECT_EQ(screen.texts[1081], "Level 6") << "the page shows what the ESC holds";
}

// While an update runs and lets messages through, Save, Load, the mode switch
// and the poll timer must not start anything of their own.
TEST_F(KelDlgLogicTest, NothingButTheUpdateActsWhileItLetsMessagesThrough)
{
    ConnectEsc();
    const int modeBefore = logic.EscMode();
    const auto logBefore = screen.log.size();
    logic.link().exchangeRunning = true;
    logic.OnSave();
    logic.OnLoad();
    logic.OnModeSwitch();
    EXPECT_EQ(logic.EscMode(), modeBefore);
    EXPECT_TRUE(screen.fileRequests.empty());
    EXPECT_EQ(screen.log.size(), logBefore);
    logic.ClosePort();
    logic.OnTimer();
    EXPECT_FALSE(logic.PortOpen());
    EXPECT_EQ(device.Opens(), 1);
}

}  // namespace
}  // namespace kel
