#include <functional>
#include <gtest/gtest.h>

#include "link/Clock.h"
#include "link/UsbUart.h"
#include "support/FakeSerialDevice.h"

namespace kel {
namespace {

using test::Bytes;
using test::FakeSerialDevice;

class UsbUartTest : public ::testing::Test {
protected:
    VirtualClock clock;
    FakeSerialDevice device{clock};
    FixedPortFinder finder{"/dev/ttyUSB0"};
    UsbUart uart{device, finder, clock};

    void Open() { ASSERT_EQ(uart.OpenPort(), 0); }
};

class NoPortFinder final : public PortFinder {
public:
    int asked = 0;
    std::optional<std::string> FindBoxPort() override
    {
        ++asked;
        return std::nullopt;
    }
};

TEST_F(UsbUartTest, OpenPausesTwicePurgesOnce_CloseClearsAllThreeStates_FailedOpensLeaveItClosed)
{
    Open();
    EXPECT_TRUE(uart.portOpen);
    EXPECT_EQ(device.openedDevice, "/dev/ttyUSB0");
    EXPECT_EQ(clock.NowMs(), 120);
    EXPECT_EQ(device.purges, 1);
    EXPECT_EQ(uart.OpenPort(), 0);
    EXPECT_EQ(device.opens, 1);
    EXPECT_EQ(clock.NowMs(), 120);

    uart.usbState = UsbState::kInUse;
    uart.escState = EscState::kConnected;
    uart.ClosePort();
    EXPECT_EQ(uart.usbState, UsbState::kNotConnected);
    EXPECT_EQ(uart.escState, EscState::kUnknown);
    EXPECT_FALSE(uart.portOpen);
    EXPECT_EQ(device.closes, 1);
    // Line settings refused: the port is used as it is, after one pause and no purge.
    device.lineSettingsFail = true;
    Open();
    EXPECT_TRUE(uart.portOpen);
    EXPECT_EQ(clock.NowMs(), 180);
    EXPECT_EQ(device.purges, 1);
    {
        UsbUart never{device, finder, clock};
    }
    EXPECT_EQ(device.closes, 1);
    {
        UsbUart opened{device, finder, clock};
        opened.OpenPort();
    }
    EXPECT_EQ(device.closes, 2);

    // An open that fails, or no box found, leaves the port closed; each open asks afresh.
    uart.ClosePort();
    device.openFails = true;
    EXPECT_EQ(uart.OpenPort(), 1);
    EXPECT_FALSE(uart.portOpen);
    NoPortFinder none;
    UsbUart lost{device, none, clock};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lost.OpenPort(), 1);
    EXPECT_FALSE(lost.portOpen);
    EXPECT_EQ(none.asked, 3);
    EXPECT_EQ(device.opens, 4);  // the failed one, and three before it
}

TEST_F(UsbUartTest, SendCommand_WritesOneByteConsumesTheEchoOrWaitsASecondForIt)
{
    Open();
    device.responder = [](const Bytes&) { return FakeSerialDevice::Reply{{0x26}}; };
    EXPECT_EQ(uart.SendCommand(0xD5), 0);
    EXPECT_EQ(device.writes.back(), Bytes{0xD5});
    EXPECT_EQ(uart.rx[0], 0xD5);  // the echo
    EXPECT_EQ(uart.Receive(1, 10), 0);
    EXPECT_EQ(uart.rx[0], 0x26);

    device.echo = false;
    device.responder = [](const Bytes&) { return FakeSerialDevice::Reply{}; };
    const auto t = clock.NowMs();
    EXPECT_EQ(uart.SendCommand(0xD5), 0);
    EXPECT_EQ(clock.NowMs() - t, 1000);
    device.failWritesFrom = 0;
    EXPECT_EQ(uart.SendCommand(0xD5), 1);
}

TEST_F(UsbUartTest, Receive_ShortOrLateReplyTimesOutAndNoMoreThanTheBufferIsAsked)
{
    Open();
    device.Feed(Bytes(20, 0xAA));
    const auto t = clock.NowMs();
    EXPECT_EQ(uart.Receive(24, 100), 2);
    EXPECT_EQ(clock.NowMs() - t, 100);
    EXPECT_EQ(device.Pending(), 0u);

    device.Feed({0x26}, 11);
    EXPECT_EQ(uart.Receive(1, 10), 2);

    device.Feed(Bytes(UsbUart::kReceiveSize, 0x55));
    EXPECT_EQ(uart.Receive(UsbUart::kReceiveSize + 1, 10), 0);
    EXPECT_EQ(uart.rx.back(), 0x55);
}

TEST_F(UsbUartTest, SendBlockAcked_AcceptsOnlyAckByteOneAfterPurging)
{
    Open();
    const Bytes pair{0xE4, 0x06};
    for (const Bytes& reply : {Bytes{0x01}, Bytes{0x00}, Bytes{0x11}, Bytes{}}) {
        device.responder = [&](const Bytes&) { return FakeSerialDevice::Reply{reply}; };
        const auto t = clock.NowMs();
        EXPECT_EQ(uart.SendBlockAcked(pair.data(), pair.size()), reply == Bytes{0x01} ? 0 : 1);
        if (reply.empty()) {
            EXPECT_EQ(clock.NowMs() - t, 2000) << "the acknowledge is awaited 2000 ms";
        }
    }
    device.Feed({0x01});  // a stale byte that must not pass for the acknowledge
    device.responder = [](const Bytes&) { return FakeSerialDevice::Reply{{0x00}}; };
    EXPECT_EQ(uart.SendBlockAcked(pair.data(), pair.size()), 1);
}

TEST_F(UsbUartTest, SendBlock_ReadsTheEchoKeepsItsHeadAndSucceedsWithoutIt)
{
    Open();
    Bytes block(400);  // longer than the receive buffer
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(uart.SendBlock(block.data(), block.size()), 0);
    EXPECT_EQ(uart.bytesWritten, 400u);
    EXPECT_EQ(device.Pending(), 0u);
    EXPECT_EQ(uart.rx[249], 249);
    device.echo = false;
    const auto t = clock.NowMs();
    EXPECT_EQ(uart.SendBlock(block.data(), 4), 0);
    EXPECT_EQ(clock.NowMs() - t, 300) << "200 ms for the echo, then 100 ms for the rest";
}

// A reply that times out and then arrives: its bytes must not pass for the
// echo or the answer of whatever is sent next, by any of the sending calls.
TEST_F(UsbUartTest, LateBytesOfATimedOutReplyAreDrainedBeforeTheNextSend)
{
    Open();
    const std::uint8_t pair[2] = {0xE4, 0x02};
    struct Case {
        const char* name;
        std::function<int()> send;  // 0 when the send saw its own echo (and acknowledge)
    };
    const Case cases[] = {
        {"SendCommand", [&] { return uart.SendCommand(0xD8) == 0 && uart.rx[0] == 0xD8 ? 0 : 1; }},
        {"SendBlock", [&] { return uart.SendBlock(pair, 2) == 0 && uart.rx[0] == 0xE4 && uart.rx[1] == 0x02 ? 0 : 1; }},
        {"SendBlockAcked", [&] { return uart.SendBlockAcked(pair, 2); }},
    };
    device.responder = [](const Bytes&) { return FakeSerialDevice::Reply{{0x01}}; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device.Feed({0xAA, 0xBB, 0xCC}, 150);  // the rest of an earlier reply, 150 ms late
        EXPECT_EQ(uart.Receive(3, 100), 2);
        clock.AdvanceTo(clock.NowMs() + 100);  // it has arrived by the next send
        EXPECT_EQ(c.send(), 0);
        uart.PurgePort();
    }
}

// The one real-time piece: a wait of 1 ms (the shortest the link asks for) is waited.
TEST(SteadyClock, SleepsEvenTheShortestWait)
{
    SteadyClock clock;
    const std::int64_t before = clock.NowMs();
    clock.Sleep(1);
    EXPECT_GE(clock.NowMs() - before, 1);
}

}  // namespace
}  // namespace kel
