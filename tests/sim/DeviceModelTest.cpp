#include <gtest/gtest.h>

#include "sim/DeviceModel.h"
#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

DeviceOptions WithEsc(EscMode mode)
{
    DeviceOptions o;
    o.escAttached = mode != EscMode::Absent;
    o.escInLoader = mode == EscMode::Loader;
    return o;
}

TEST(DeviceModel, EchoesEveryByteBeforeItsReply)
{
    ModelHarness h;
    EXPECT_EQ(h.Send({0xD5}), (Bytes{0xD5, 0x26}));
    EXPECT_EQ(h.Send({0x42}), (Bytes{0x42}));  // no command: echo only
}

TEST(DeviceModel, ProbesAnswerByWhatIsAttached)
{
    struct Case {
        EscMode esc;
        Bytes escProbeReply;
        Bytes boxProbeReply;
    };
    const Case cases[] = {
        {EscMode::Application, {0x26}, {0xD1, 0x01}},
        {EscMode::Loader, {}, {0xD1, 0x02}},
        {EscMode::Absent, {}, {0xD1, 0x00}},
    };
    for (const auto& c : cases) {
        ModelHarness h(WithEsc(c.esc));
        EXPECT_EQ(h.Reply({0xD5}), c.escProbeReply) << static_cast<int>(c.esc);
        const Bytes box = h.Reply({0xD4});
        EXPECT_EQ(box, c.boxProbeReply);
        EXPECT_EQ(box.at(0) & 0xF0, 0xD0);
    }
}

TEST(DeviceModel, VersionFollowsTheLastProbe)
{
    DeviceOptions o;
    o.escVersion = {9, 8, 7, 6};
    o.boxVersion = {5, 4, 3, 2};
    ModelHarness h(o);
    const Bytes boxVersion{0xD1, 0x00, 5, 4, 3, 2, 0x00};
    const Bytes escVersion{9, 8, 7, 6, 0, 0, 0};

    EXPECT_EQ(h.Reply({0xD7}), boxVersion) << "no probe yet: the box answers";
    h.Send({0xD5});
    EXPECT_EQ(h.Reply({0xD7}), escVersion);
    EXPECT_EQ(h.Reply({0xD7}), escVersion) << "a second query still reports the ESC";
    h.Send({0xD4});
    EXPECT_EQ(h.Reply({0xD7}), boxVersion);
}

TEST(DeviceModel, VersionOfAnEscInItsLoaderIsTheBoxs)
{
    ModelHarness h(WithEsc(EscMode::Loader));
    h.Send({0xD5});
    EXPECT_EQ(h.Reply({0xD7}).at(2), 2);  // box version 2.1.0.7 in bytes 2..5
}

TEST(DeviceModel, SettingsReplyHoldsTheFactoryDefaults)
{
    const Bytes expected{0, 3, 5, 32, 35, 6, 100, 25, 200, 6, 0, 3, 1, 0, 2, 4, 0, 2, 0, 0, 20, 0, 1, 0xDD};
    ModelHarness mod;
    EXPECT_EQ(mod.Reply({0xD8}), expected);

    DeviceOptions stockOptions;
    stockOptions.escStock = true;
    ModelHarness stock(stockOptions);
    Bytes stockExpected = expected;
    stockExpected[22] = 0;
    EXPECT_EQ(stock.Reply({0xD8}), stockExpected);
}

TEST(DeviceModel, EveryTagRoundTripsToItsReplyByte)
{
    struct TagCase {
        std::uint8_t tag;
        std::size_t position;
    };
    const TagCase tags[] = {
        {0xE1, 0},  {0xE2, 1},  {0xD2, 2},  {0xE3, 3},  {0xD3, 4},  {0xE4, 5},  {0xE5, 6},  {0xE6, 7},
        {0xE7, 8},  {0xE8, 9},  {0xE9, 10}, {0xEA, 11}, {0xEB, 12}, {0xEC, 13}, {0xED, 14}, {0xEE, 15},
        {0xEF, 16}, {0xF0, 17}, {0xF1, 18}, {0xF7, 20}, {0xF5, 21}, {0xFE, 22},
    };
    ModelHarness h;
    Bytes expected = h.Reply({0xD8});
    for (const auto& t : tags) {
        const auto value = static_cast<std::uint8_t>(0x40 + t.position);
        EXPECT_EQ(h.Reply({t.tag, value}), (Bytes{0x01, 0x01})) << std::hex << int(t.tag);
        expected[t.position] = value;
    }
    EXPECT_EQ(h.Reply({0xDF}), (Bytes{0x01}));
    EXPECT_EQ(h.Reply({0xD8}), expected);
    EXPECT_EQ(expected[19], 0) << "byte 19 has no tag";
    EXPECT_EQ(expected[23], 0xDD);
}

TEST(DeviceModel, PairValueThatLooksLikeACommandIsStoredNotObeyed)
{
    ModelHarness h;
    EXPECT_EQ(h.Reply({0xE1, 0xD5}), (Bytes{0x01, 0x01}));
    EXPECT_EQ(h.model.Settings().At(0), 0xD5);
}

TEST(DeviceModel, HalfPairIsDroppedAfterALongSilence)
{
    ModelHarness h;
    h.Send({0xE1}, DeviceModel::kIdleResetMs);
    EXPECT_EQ(h.Reply({0xD5}), (Bytes{0x26})) << "the late byte is a probe, not the value";
    EXPECT_EQ(h.model.Settings().At(0), 0);
}

TEST(DeviceModel, RestoreDefaultsIsSilentAndRestoresTheFactoryMode)
{
    for (bool stock : {false, true}) {
        DeviceOptions o;
        o.escStock = stock;
        ModelHarness h(o);
        const Bytes factory = h.Reply({0xD8});
        h.Send({0xE4, 2});
        h.Send({0xFE, stock ? std::uint8_t{1} : std::uint8_t{0}});
        h.Send({0xD2, 77});
        ASSERT_NE(h.Reply({0xD8}), factory);
        EXPECT_EQ(h.Reply({0xDE}), Bytes{});
        EXPECT_EQ(h.Reply({0xD8}), factory);
    }
}

TEST(DeviceModel, SettingsCommandsGoUnansweredWithoutARunningEsc)
{
    for (EscMode mode : {EscMode::Loader, EscMode::Absent}) {
        ModelHarness h(WithEsc(mode));
        EXPECT_EQ(h.Reply({0xD8}), Bytes{});
        EXPECT_EQ(h.Reply({0xE4, 3}), Bytes{});
        EXPECT_EQ(h.Reply({0xDF}), Bytes{});
        EXPECT_EQ(h.model.Settings().At(5), 6) << "nothing stored";
    }
}

TEST(DeviceModel, RepliesArriveInTimeOrderAfterLaterEchoes)
{
    DeviceOptions o;
    ASSERT_EQ(o.faults.Add("late-reply=50"), "");
    ModelHarness h(o);
    h.model.Receive(0xD5, 0);
    h.model.Receive(0x42, 10);
    h.now = 100;
    EXPECT_EQ(h.Arrived(), (Bytes{0xD5, 0x42, 0x26}));
}

} // namespace
} // namespace kel::sim::test
