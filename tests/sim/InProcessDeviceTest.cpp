#include <gtest/gtest.h>

#include "link/Clock.h"
#include "link/UsbUart.h"
#include "sim/InProcessDevice.h"

namespace kel::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

DeviceOptions Faulty(const char* fault)
{
    DeviceOptions o;
    EXPECT_EQ(o.faults.Add(fault), "");
    return o;
}

struct Rig {
    explicit Rig(DeviceOptions options = {}) : device(clock, std::move(options)) {}
    Bytes Read(std::size_t count, int timeoutMs, bool* completed = nullptr)
    {
        Bytes bytes(count);
        const ReadResult r = device.Read(bytes.data(), count, timeoutMs);
        if (completed)
            *completed = r.completed;
        bytes.resize(r.count);
        return bytes;
    }
    bool Write(const Bytes& bytes) { return device.Write(bytes.data(), bytes.size()); }

    VirtualClock clock;
    InProcessDevice device;
};

TEST(InProcessDevice, AReadCompletesWhenItsLastByteArrives)
{
    Rig rig(Faulty("late-reply=300"));
    ASSERT_TRUE(rig.device.Open("anything"));
    ASSERT_TRUE(rig.Write({0xD5}));
    EXPECT_EQ(rig.Read(1, 1000), (Bytes{0xD5}));
    EXPECT_EQ(rig.clock.NowMs(), 0) << "the echo is there at once";
    EXPECT_EQ(rig.Read(1, 1000), (Bytes{0x26}));
    EXPECT_EQ(rig.clock.NowMs(), 300);
}

TEST(InProcessDevice, AMissedReplyCostsExactlyTheTimeOutAndStaysQueued)
{
    Rig rig(Faulty("late-reply=300"));
    ASSERT_TRUE(rig.device.Open("sim"));
    rig.Write({0xD5});
    bool completed = true;
    EXPECT_EQ(rig.Read(2, 100, &completed), Bytes{});
    EXPECT_FALSE(completed);
    EXPECT_EQ(rig.clock.NowMs(), 100);
    EXPECT_EQ(rig.Read(2, 1000, &completed), (Bytes{0xD5, 0x26})) << "what arrived waits for the next read";
    EXPECT_TRUE(completed);
    EXPECT_EQ(rig.clock.NowMs(), 300);
}

TEST(InProcessDevice, APurgeDropsOnlyWhatHasArrived)
{
    Rig rig(Faulty("late-reply=300"));
    ASSERT_TRUE(rig.device.Open("sim"));
    rig.Write({0xD5});
    EXPECT_TRUE(rig.device.Purge());
    EXPECT_EQ(rig.Read(1, 1000), (Bytes{0x26})) << "the reply was still on its way";
}

TEST(InProcessDevice, NothingWorksWhileClosed)
{
    Rig rig;
    EXPECT_FALSE(rig.Write({0xD5}));
    bool completed = true;
    EXPECT_EQ(rig.Read(1, 1000, &completed), Bytes{});
    EXPECT_FALSE(completed);
    EXPECT_EQ(rig.clock.NowMs(), 0);
    EXPECT_TRUE(rig.device.Model().ReceivedBytes().empty());
}

TEST(InProcessDevice, UnplugFailsWritesAndOpensUntilTheReplug)
{
    DeviceOptions o;
    ASSERT_EQ(o.faults.Add("unplug=2"), "");
    ASSERT_EQ(o.faults.Add("replug=5000"), "");
    Rig rig(o);
    InProcessPortFinder finder(rig.device);
    ASSERT_TRUE(rig.device.Open(*finder.FindBoxPort()));
    EXPECT_TRUE(rig.Write({0xD5}));
    EXPECT_TRUE(rig.Write({0xD5}));
    EXPECT_FALSE(rig.Write({0xD5}));
    EXPECT_EQ(rig.Read(4, 1000), (Bytes{0xD5, 0x26, 0xD5, 0x26})) << "what came before the unplug is readable";
    bool completed = true;
    rig.Read(1, 1000, &completed);
    EXPECT_FALSE(completed);
    EXPECT_EQ(rig.clock.NowMs(), 0) << "a vanished device fails a read at once";

    rig.device.Close();
    EXPECT_FALSE(finder.FindBoxPort());
    EXPECT_FALSE(rig.device.Open("sim"));
    EXPECT_NE(rig.device.LastError().find("unplugged"), std::string::npos);

    rig.clock.Advance(5000);
    EXPECT_EQ(finder.FindBoxPort(), std::optional<std::string>("sim"));
    ASSERT_TRUE(rig.device.Open("sim"));
    EXPECT_TRUE(rig.Write({0xD5}));
    EXPECT_EQ(rig.Read(2, 1000), (Bytes{0xD5, 0x26}));
}

TEST(InProcessDevice, AnOpenHandleStaysDeadAfterTheReplug)
{
    DeviceOptions o;
    ASSERT_EQ(o.faults.Add("unplug=1"), "");
    ASSERT_EQ(o.faults.Add("replug=10"), "");
    Rig rig(o);
    ASSERT_TRUE(rig.device.Open("sim"));
    rig.Write({0xD5});
    rig.clock.Advance(10);
    EXPECT_FALSE(rig.Write({0xD5})) << "the port must be opened again";
    ASSERT_TRUE(rig.device.Open("sim"));
    EXPECT_TRUE(rig.Write({0xD5}));
}

// The link's own operations over the simulator.
struct LinkRig : Rig {
    explicit LinkRig(DeviceOptions options = {}) : Rig(std::move(options)), finder(device), link(device, finder, clock)
    {
        EXPECT_EQ(link.OpenPort(), 0);
    }
    InProcessPortFinder finder;
    UsbUart link;
};

TEST(InProcessDevice, LinkFindsTheEscAndItsVersion)
{
    LinkRig rig;
    EXPECT_EQ(rig.link.SendCommand(0xD5), 0);
    EXPECT_EQ(rig.link.SendCommand(0xD5), 0);
    ASSERT_EQ(rig.link.Receive(1, 10), 0);
    EXPECT_EQ(rig.link.rx[0], 0x26);
    EXPECT_EQ(rig.link.SendCommand(0xD7), 0);
    ASSERT_EQ(rig.link.Receive(7, 500), 0);
    EXPECT_EQ(Bytes(rig.link.rx.begin(), rig.link.rx.begin() + 4), (Bytes{1, 2, 3, 4}));
}

TEST(InProcessDevice, LinkWritesAPairAndReadsItBack)
{
    LinkRig rig;
    const std::uint8_t pair[] = {0xE5, 90};
    EXPECT_EQ(rig.link.SendBlockAcked(pair, 2), 0);
    ASSERT_EQ(rig.link.Receive(1, 200), 0);
    EXPECT_EQ(rig.link.rx[0], 0x01);
    rig.link.SendCommand(0xD8);
    ASSERT_EQ(rig.link.Receive(24, 100), 0);
    EXPECT_EQ(rig.link.rx[6], 90);
    EXPECT_EQ(rig.link.rx[23], 0xDD);
}

TEST(InProcessDevice, LinkTimesOutOnAMissingSettingsReply)
{
    LinkRig rig(Faulty("no-settings-reply"));
    const std::int64_t start = rig.clock.NowMs();
    rig.link.SendCommand(0xD8);
    EXPECT_EQ(rig.link.Receive(24, 100), 2);
    EXPECT_EQ(rig.clock.NowMs() - start, 100);
}

TEST(InProcessDevice, LinkEscUpdateHandshakeButNotFixModePollsStartTheLoader)
{
    LinkRig poll;
    for (int tick = 0; tick < 6; ++tick) {
        poll.link.SendCommand(0xD6);
        ASSERT_EQ(poll.link.Receive(1, 150), 0);
        EXPECT_NE(poll.link.rx[0], 0xD7) << "tick " << tick;
    }

    LinkRig update;
    for (int i = 0; i < 4; ++i)
        update.link.SendCommand(0xD6);
    ASSERT_EQ(update.link.Receive(1, 1000), 0);
    EXPECT_EQ(update.link.rx[0], 0xD7);
    EXPECT_EQ(update.device.Model().Esc(), EscMode::Loader);
}

TEST(InProcessDevice, RunsInRealTimeOnASteadyClock)
{
    SteadyClock clock;
    InProcessDevice device(clock, Faulty("late-reply=30"));
    ASSERT_TRUE(device.Open("sim"));
    const std::int64_t start = clock.NowMs();
    const std::uint8_t probe = 0xD5;
    device.Write(&probe, 1);
    std::uint8_t reply[2] = {};
    EXPECT_TRUE(device.Read(reply, 2, 1000).completed);
    EXPECT_EQ(reply[1], 0x26);
    EXPECT_GE(clock.NowMs() - start, 30);
}

}  // namespace
}  // namespace kel::sim
