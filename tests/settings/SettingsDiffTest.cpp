// Settings compared parameter by parameter, as the pages show them.
#include <gtest/gtest.h>

#include "SettingsFixture.h"
#include "settings/SettingsCodec.h"
#include "settings/SettingsDiff.h"

namespace kel {
namespace {

using test::Bytes;

std::optional<std::string> ValueOf(const ShownSettings& shown, const std::string& label)
{
    for (const ShownValue& v : shown) {
        if (v.label == label)
            return v.value;
    }
    ADD_FAILURE() << "no row " << label;
    return std::nullopt;
}

TEST(SettingsDiff, RowsAreTheModeThePagesInOrderAndTheCustomFields)
{
    const ShownSettings factory = FactorySettings();
    ASSERT_EQ(factory.size(), 22u);
    EXPECT_EQ(factory.front().label, "Mode");
    EXPECT_EQ(factory[1].label, "Power Level");  // the Throttle page comes first
    EXPECT_EQ(factory[4].label, "Boost Timing");
    EXPECT_EQ(factory[18].label, "Rotation mode");
    EXPECT_EQ(factory.back().label, "Low volt cut custom");
}

TEST(SettingsDiff, FactorySettingsAreTheMarkedEntriesAndNameNoModeOrCustomNumber)
{
    const ShownSettings factory = FactorySettings();
    const std::pair<const char*, const char*> expected[] = {
        {"Power Level", "Level 7*"}, {"Drag Brake", "10%*"},         {"Initial Brake", "=Drag Brake*"},
        {"Boost RPM", "1500*"},      {"Low volt cut", "3.2v/Cell*"}, {"Rotation mode", "Normal*"},
    };
    for (const auto& [label, value] : expected)
        EXPECT_EQ(ValueOf(factory, label), std::optional<std::string>(value)) << label;
    for (const char* unknown : {"Mode", "Drag Brake custom", "Initial Brake custom", "Low volt cut custom"})
        EXPECT_EQ(ValueOf(factory, unknown), std::nullopt) << unknown;
}

TEST(SettingsDiff, ComparesKnownRowsInOrder)
{
    const ShownSettings a = {
        {"Mode", "MOD"}, {"Power Level", "Level 5"}, {"Drag Brake", "10%*"}, {"Full Brake", "90%"}};
    struct Case {
        const char* name;
        ShownSettings b;
        std::vector<std::string> differing;
    };
    const Case cases[] = {
        {"same", a, {}},
        {"two differ, in the left side's order",
         {{"Full Brake", "100%*"}, {"Mode", "MOD"}, {"Drag Brake", "10%*"}, {"Power Level", "Level 7*"}},
         {"Power Level", "Full Brake"}},
        {"an unknown value is no difference", {{"Mode", std::nullopt}, {"Power Level", "Level 5"}}, {}},
        {"letter case counts", {{"Mode", "mod"}}, {"Mode"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> labels;
        for (const SettingDifference& d : CompareSettings(a, c.b))
            labels.push_back(d.label);
        EXPECT_EQ(labels, c.differing) << c.name;
    }
    const auto d = CompareSettings(a, cases[1].b);
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0].first, "Level 5");
    EXPECT_EQ(d[0].second, "Level 7*");
}

TEST(SettingsDiff, AReplyShowsItsEntriesAndMarksBytesOfNoEntry)
{
    Bytes reply = test::SampleReply();
    reply[5] = 4;  // Power Level "Level 5"
    reply[0] = 9;  // Operation Mode: its list has two entries
    const ShownSettings shown = ShownSettingsOfReply(reply.data(), -1);
    EXPECT_EQ(ValueOf(shown, "Mode"), std::optional<std::string>("MOD"));
    EXPECT_EQ(ValueOf(shown, "Power Level"), std::optional<std::string>("Level 5"));
    EXPECT_EQ(ValueOf(shown, "Operation Mode"), std::optional<std::string>("raw byte 0x09"));
    EXPECT_EQ(ValueOf(shown, "Drag Brake custom"), std::optional<std::string>("20%"));
}

TEST(SettingsDiff, AfterWriteTheSentPairsShowAndUnsentBytesStayAsRead)
{
    test::RecordingScreen screen;
    SettingsRecord record(screen);
    Bytes reply = test::SampleReply();
    reply[kReplyModeByte] = 0;  // stock: the boost and turbo pairs carry 0
    record.escMode = 0;
    DecodeSettings(record, reply.data());
    std::copy(reply.begin(), reply.end(), record.lastRead.begin());
    record.ChooseOption(1081, 2);  // Power Level "Level 3"

    const ShownSettings read = ShownSettingsOfReply(reply.data(), -1);
    std::vector<std::string> changed;
    for (const SettingDifference& d : CompareSettings(read, ShownAfterWrite(record)))
        changed.push_back(d.label + "=" + d.second);
    // In stock mode the boost and turbo pairs carry 0 (Boost ACC was 0 already).
    EXPECT_EQ(changed, (std::vector<std::string>{"Power Level=Level 3", "Boost Timing=0 deg*", "Boost RPM=500",
                                                 "Turbo Timing=0 deg*", "Turbo Slope=3 deg/0.1s", "Turbo Delay=off"}));
    EXPECT_EQ(ValueOf(ShownAfterWrite(record), "Initial Brake custom"), std::optional<std::string>("25%"))
        << "no pair carries it: what the ESC held stays";
}

}  // namespace
}  // namespace kel
