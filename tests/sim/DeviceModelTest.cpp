#include <gtest/gtest.h>

#include "sim/DeviceModel.h"
#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

DeviceOptions WithEsc(EscMode mode)
{
    return {.escInLoader = mode == EscMode::Loader, .escAttached = mode != EscMode::Absent, .faults = {}};
}

// Only a running ESC answers its probe and the settings commands.
TEST(DeviceModel, AnswersByWhatIsAttached)
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
        SCOPED_TRACE(static_cast<int>(c.esc));
        ModelHarness h(WithEsc(c.esc));
        EXPECT_EQ(h.Reply({0xD5}), c.escProbeReply);
        EXPECT_EQ(h.Reply({0xD4}), c.boxProbeReply);
        const bool running = c.esc == EscMode::Application;
        EXPECT_EQ(h.Reply({0xD8}).size(), running ? 24u : 0u);
        EXPECT_EQ(h.Reply({0xE4, 3}), running ? (Bytes{0x01, 0x01}) : Bytes{});
        EXPECT_EQ(h.Reply({0xDF}), running ? (Bytes{0x01}) : Bytes{});
        EXPECT_EQ(h.model.Settings().At(5), running ? 3 : 6);
    }
}

// The version query answers for whatever the last probe asked about.
TEST(DeviceModel, VersionFollowsTheLastProbe)
{
    ModelHarness h({.escVersion = {9, 8, 7, 6}, .boxVersion = {5, 4, 3, 2}, .faults = {}});
    const Bytes boxVersion{0xD1, 0x00, 5, 4, 3, 2, 0x00};
    const Bytes escVersion{9, 8, 7, 6, 0, 0, 0};
    EXPECT_EQ(h.Reply({0xD7}), boxVersion) << "no probe yet";
    h.Send({0xD5});
    EXPECT_EQ(h.Reply({0xD7}), escVersion);
    EXPECT_EQ(h.Reply({0xD7}), escVersion) << "a second query still reports the ESC";
    h.Send({0xD4});
    EXPECT_EQ(h.Reply({0xD7}), boxVersion);

    ModelHarness loader(WithEsc(EscMode::Loader));  // an ESC in its loader cannot answer
    loader.Send({0xD5});
    EXPECT_EQ(loader.Reply({0xD7}).at(2), 2);  // box version 2.1.0.7 in bytes 2..5
}

TEST(DeviceModel, PairValueIsStoredNotObeyedAndAHalfPairDiesInSilence)
{
    ModelHarness h;
    EXPECT_EQ(h.Reply({0xE1, 0xD4}), (Bytes{0x01, 0x01}));
    EXPECT_EQ(h.model.Settings().At(0), 0xD4);
    h.Send({0xE1}, DeviceModel::kIdleResetMs);
    EXPECT_EQ(h.Reply({0xD5}), (Bytes{0x26})) << "the late byte is a probe, not the value";
    EXPECT_EQ(h.model.Settings().At(0), 0xD4);
}

TEST(DeviceModel, RestoreDefaultsIsSilentAndRestoresTheFactoryMode)
{
    for (bool stock : {false, true}) {
        ModelHarness h({.escStock = stock, .faults = {}});
        const Bytes factory = h.Reply({0xD8});
        h.Send({0xE4, 2});
        h.Send({0xFE, stock ? std::uint8_t{1} : std::uint8_t{0}});
        ASSERT_NE(h.Reply({0xD8}), factory);
        EXPECT_EQ(h.Reply({0xDE}), Bytes{});
        EXPECT_EQ(h.Reply({0xD8}), factory);
    }
}

}  // namespace
}  // namespace kel::sim::test
