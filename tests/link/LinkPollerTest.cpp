#include <gtest/gtest.h>

#include "link/LinkPoller.h"
#include "link/UsbUart.h"
#include "link/ControlIds.h"
#include "support/FakeSerialDevice.h"
#include "support/RecordingScreen.h"

namespace kel {
namespace {

using test::Bytes;
using test::FakeSerialDevice;

// A box whose answers each test sets: reply per command byte.
class LinkPollerTest : public ::testing::Test {
protected:
    VirtualClock clock;
    FakeSerialDevice device{clock};
    FixedPortFinder finder{"/dev/ttyUSB0"};
    UsbUart uart{device, finder, clock};
    LinkState link;
    test::RecordingScreen screen;
    test::RecordingPollTimer timer;
    LinkPoller poller{LinkContext{uart, link, screen, timer}};
    std::map<std::uint8_t, Bytes> answers;
    int escFound = 0;

    void SetUp() override
    {
        device.responder = [this](const Bytes& w) {
            auto it = answers.find(w.at(0));
            return FakeSerialDevice::Reply{it == answers.end() ? Bytes{} : it->second};
        };
        poller.onEscFound = [this] { ++escFound; };
    }
    // The first tick opens the port and marks USB connected.
    void Connect(int mode)
    {
        link.pollMode = mode;
        poller.Tick();
        ASSERT_EQ(uart.usbState, UsbState::kInUse);
        device.writes.clear();
    }
};

TEST_F(LinkPollerTest, NoBoxChangesNothing_FirstTickOpensAndLightsUsbWithoutSending_UnplugDarkens)
{
    device.openFails = true;
    for (int i = 0; i < 3; ++i)
        poller.Tick();
    EXPECT_EQ(uart.usbState, UsbState::kNotConnected);
    EXPECT_TRUE(screen.log.empty());
    device.openFails = false;
    link.pollMode = kPollEsc;
    poller.Tick();
    EXPECT_TRUE(uart.portOpen);
    EXPECT_EQ(uart.usbState, UsbState::kInUse);
    EXPECT_TRUE(screen.IsLit(id::kLampUsb));
    EXPECT_FALSE(screen.IsLit(id::kLampEsc));
    EXPECT_TRUE(device.writes.empty());
    // Mode none never sends, so it never sees an unplug.
    link.pollMode = kPollNone;
    device.failWritesFrom = 0;
    for (int i = 0; i < 3; ++i)
        poller.Tick();
    EXPECT_TRUE(device.writes.empty());
    EXPECT_TRUE(screen.IsLit(id::kLampUsb));

    // Every other mode sees an unplug: the port closes, the lamps go dark, and
    // the next tick (Connect) finds the box again.
    for (int mode : {kPollEsc, kPollBox, kPollFix}) {
        SCOPED_TRACE(mode);
        device.failWritesFrom = -1;
        Connect(mode);
        uart.escState = EscState::kConnected;
        device.failWritesFrom = 0;
        poller.Tick();
        EXPECT_FALSE(uart.portOpen);
        EXPECT_EQ(uart.usbState, UsbState::kNotConnected);
        EXPECT_EQ(uart.escState, EscState::kUnknown);
        EXPECT_FALSE(screen.IsLit(id::kLampUsb));
        EXPECT_FALSE(screen.IsLit(id::kLampEsc));
    }
}

// A new ESC is read once (version, then settings), again after a firmware
// update; found, it clears the box flag; lost, it clears the version once;
// found again, a version that does not arrive is neither shown nor kept.
TEST_F(LinkPollerTest, EscFoundReadOnceAndLostClearsOnce)
{
    answers[0xD5] = {0x26};
    answers[0xD7] = {0x0A, 0x01, 0x0C, 42, 0, 0, 0};
    Connect(kPollEsc);
    link.boxConnected = true;
    poller.Tick();
    EXPECT_EQ(uart.escState, EscState::kConnected);
    EXPECT_FALSE(link.boxConnected);
    EXPECT_EQ(link.versionText, "Ver: A01c42");
    EXPECT_EQ(screen.texts[id::kVersionField], "Ver: A01c42");
    EXPECT_EQ((std::array<std::uint8_t, 4>{0x0A, 0x01, 0x0C, 42}), link.escVersion);
    EXPECT_EQ(escFound, 1);
    EXPECT_TRUE(screen.IsLit(id::kLampEsc));
    EXPECT_TRUE(screen.IsEnabled(id::kApply));
    EXPECT_EQ(device.AllWritten(), (Bytes{0xD5, 0xD5, 0xD7}));
    poller.Tick();
    poller.Tick();
    EXPECT_EQ(escFound, 1) << "an ESC that keeps answering is read once";
    link.redetect = true;
    poller.Tick();
    EXPECT_EQ(escFound, 2) << "after a firmware update it is read again";
    EXPECT_FALSE(link.redetect);

    answers.erase(0xD5);
    link.boxConnected = true;
    poller.Tick();
    EXPECT_EQ(uart.escState, EscState::kSilent);
    EXPECT_FALSE(link.boxConnected);
    EXPECT_EQ(screen.texts[id::kVersionField], "");
    EXPECT_FALSE(screen.IsLit(id::kLampEsc));
    const auto logSize = screen.log.size();
    poller.Tick();
    EXPECT_EQ(screen.log.size(), logSize) << "no answer with E = 1 changes nothing";

    // Back, but its version does not arrive: the buffer holds the query's echo
    // and older bytes, which are no version.
    answers[0xD5] = {0x26};
    answers.erase(0xD7);
    uart.rx.fill(0x42);
    poller.Tick();
    EXPECT_EQ(escFound, 3) << "the settings are still read";
    EXPECT_EQ(link.versionText, "");
    EXPECT_EQ(screen.texts[id::kVersionField], "");
    EXPECT_EQ((std::array<std::uint8_t, 4>{0, 0, 0, 0}), link.escVersion);
}

TEST_F(LinkPollerTest, EscProbeTimingAndOtherAnswer)
{
    answers[0xD5] = {0x55};
    Connect(kPollEsc);
    const auto purges = device.purges;
    poller.Tick();
    EXPECT_EQ(uart.escState, EscState::kUnknown);
    EXPECT_GT(device.purges, purges);
    EXPECT_TRUE(screen.texts.empty());
    // No answer at all costs the 10 ms reply wait only (echoes arrive at once).
    answers.erase(0xD5);
    const auto t = clock.NowMs();
    poller.Tick();
    EXPECT_EQ(clock.NowMs() - t, 10);
}

TEST_F(LinkPollerTest, BoxAnswersTable)
{
    const std::pair<std::uint8_t, bool> cases[] = {{0xD0, true}, {0xDF, true}, {0xC5, false}, {0xE0, false}};
    for (const auto& [first, isBox] : cases) {
        SCOPED_TRACE(int(first));
        link = LinkState{};
        uart.escState = EscState::kConnected;
        answers[0xD4] = {first, 0x00};
        answers[0xD7] = {0, 0, 0xA, 2, 0xC, 42, 0};
        Connect(kPollBox);
        poller.Tick();
        EXPECT_EQ(link.boxConnected, isBox);
        EXPECT_EQ(uart.escState, isBox ? EscState::kUnknown : EscState::kConnected);
        if (isBox) {
            EXPECT_EQ(link.versionText, "Ver: A020c42");
            EXPECT_FALSE(screen.IsEnabled(id::kApply));
            EXPECT_TRUE(screen.IsLit(id::kLampBox));
        }
    }
}

TEST_F(LinkPollerTest, BoxVersionAskedOnlyOnFirstDetectionOrRedetect_ShortAnswerIsSilence)
{
    answers[0xD4] = {0xD1, 0x00};
    answers[0xD7] = {0, 0, 0xA, 2, 0xC, 42, 0};
    Connect(kPollBox);
    poller.Tick();
    poller.Tick();
    EXPECT_EQ(device.AllWritten(), (Bytes{0xD4, 0xD7, 0xD4}));
    EXPECT_EQ(link.versionText, "Ver: A020c42") << "bytes 2..5 still hold the first reply";
    link.redetect = true;
    poller.Tick();
    EXPECT_EQ(device.AllWritten(), (Bytes{0xD4, 0xD7, 0xD4, 0xD4, 0xD7}));
    EXPECT_FALSE(link.redetect);
    answers[0xD4] = {0xD1};  // short answer
    const auto t = clock.NowMs();
    poller.Tick();
    EXPECT_EQ(clock.NowMs() - t, 150);
    EXPECT_FALSE(link.boxConnected);
    EXPECT_FALSE(screen.IsLit(id::kLampBox));
}

TEST_F(LinkPollerTest, FixModeLampFollowsEachAnswer)
{
    Connect(kPollFix);
    for (bool answering : {true, false, true}) {
        answers[0xD6] = answering ? Bytes{0xD7} : Bytes{};
        poller.Tick();
        EXPECT_EQ(uart.escState, answering ? EscState::kConnected : EscState::kUnknown);
        EXPECT_EQ(screen.IsLit(id::kLampEsc), answering);
    }
    EXPECT_EQ(escFound, 0) << "no version and no settings in FixMode";
}

}  // namespace
}  // namespace kel
