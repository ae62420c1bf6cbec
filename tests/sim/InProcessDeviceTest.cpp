// The device's own timing and unplugging; the link over it is exercised by
// the window logic tests.
#include <gtest/gtest.h>

#include "link/Clock.h"
#include "sim/InProcessDevice.h"
#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

struct Rig {
    explicit Rig(DeviceOptions options = {}) : device(clock, options) {}
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

TEST(InProcessDevice, ReadsCostTheVirtualTimeTheBytesTake)
{
    Rig rig(Faulty({"late-reply=300"}));
    ASSERT_TRUE(rig.device.Open("sim"));
    rig.Write({0xD5});
    bool completed = true;
    EXPECT_EQ(rig.Read(2, 100, &completed), Bytes{});
    EXPECT_FALSE(completed);
    EXPECT_EQ(rig.clock.NowMs(), 100) << "a missed reply costs exactly the time-out";
    EXPECT_EQ(rig.Read(1, 1000), (Bytes{0xD5})) << "what arrived waits for the next read";
    EXPECT_EQ(rig.clock.NowMs(), 100);
    EXPECT_EQ(rig.Read(1, 1000, &completed), (Bytes{0x26}));
    EXPECT_TRUE(completed);
    EXPECT_EQ(rig.clock.NowMs(), 300) << "a read completes when its last byte arrives";

    rig.Write({0xD5});
    EXPECT_TRUE(rig.device.Purge());
    EXPECT_EQ(rig.Read(1, 1000), (Bytes{0x26})) << "a purge drops only what has arrived";
}

TEST(InProcessDevice, NothingWorksWhileClosedOrUnpluggedUntilTheReplug)
{
    Rig rig(Faulty({"unplug=2", "replug=5000"}));
    EXPECT_FALSE(rig.Write({0xD5})) << "closed";
    EXPECT_TRUE(rig.device.Model().ReceivedBytes().empty());
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

    rig.clock.Advance(5000);
    EXPECT_FALSE(rig.Write({0xD5})) << "the open handle stays dead after the replug";
    rig.device.Close();
    EXPECT_EQ(finder.FindBoxPort(), std::optional<std::string>("sim"));
    ASSERT_TRUE(rig.device.Open("sim"));
    EXPECT_TRUE(rig.Write({0xD5}));
    EXPECT_EQ(rig.Read(2, 1000), (Bytes{0xD5, 0x26}));

    Rig gone(Faulty({"unplug=1"}));
    ASSERT_TRUE(gone.device.Open("sim"));
    gone.Write({0xD5});
    gone.device.Close();
    EXPECT_FALSE(InProcessPortFinder(gone.device).FindBoxPort());
    EXPECT_FALSE(gone.device.Open("sim"));
    EXPECT_NE(gone.device.LastError().find("unplugged"), std::string::npos);
}

}  // namespace
}  // namespace kel::sim::test
