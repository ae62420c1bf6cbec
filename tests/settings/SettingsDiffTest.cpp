#include <tuple>

#include "SettingsFixture.h"
#include "settings/OutOfRange.h"
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
// Rows and their values; nullptr for a value not known.
void ExpectValues(const ShownSettings& shown, std::initializer_list<std::pair<const char*, const char*>> want)
{
    for (const auto& [label, value] : want)
        EXPECT_EQ(ValueOf(shown, label), value ? std::optional<std::string>(value) : std::nullopt) << label;
}

// The rows: the mode, the pages in order, the custom fields; factory settings
// are the marked entries and name no mode or custom number.
TEST(SettingsDiff, FactorySettingsRowsAndValues)
{
    const ShownSettings factory = FactorySettings();
    ASSERT_EQ(factory.size(), 22u);
    EXPECT_EQ(factory.front().label, "Mode");
    EXPECT_EQ(factory.back().label, "Low volt cut custom");
    // clang-format off
    ExpectValues(factory, {{"Power Level", "Level 7*"}, {"Drag Brake", "10%*"}, {"Initial Brake", "=Drag Brake*"},
                           {"Boost RPM", "1500*"}, {"Low volt cut", "3.2v/Cell*"}, {"Rotation mode", "Normal*"},
                           {"Mode", nullptr}, {"Drag Brake custom", nullptr}, {"Initial Brake custom", nullptr},
                           {"Low volt cut custom", nullptr}});
    // clang-format on
}

TEST(SettingsDiff, ComparesKnownRowsInOrder)
{
    const ShownSettings a = {
        {"Mode", "MOD"}, {"Power Level", "Level 5"}, {"Drag Brake", "10%*"}, {"Full Brake", "90%"}};
    const std::tuple<const char*, ShownSettings, std::vector<std::string>> cases[] = {
        {"same", a, {}},
        {"two differ, in the left side's order",
         {{"Full Brake", "100%*"}, {"Mode", "MOD"}, {"Drag Brake", "10%*"}, {"Power Level", "Level 7*"}},
         {"Power Level: Level 5, Level 7*", "Full Brake: 90%, 100%*"}},
        {"an unknown value is no difference", {{"Mode", std::nullopt}, {"Power Level", "Level 5"}}, {}},
        {"letter case counts", {{"Mode", "mod"}}, {"Mode: MOD, mod"}}};
    for (const auto& [name, b, differing] : cases) {
        std::vector<std::string> found;
        for (const SettingDifference& d : CompareSettings(a, b))
            found.push_back(d.label + ": " + d.first + ", " + d.second);
        EXPECT_EQ(found, differing) << name;
    }
}

TEST(SettingsDiff, AReplyShowsItsEntriesAndMarksBytesOfNoEntry)
{
    Bytes reply = test::SampleReply();
    reply[5] = 4;  // Power Level "Level 5"
    reply[0] = 9;  // Operation Mode: its list has two entries
    ExpectValues(ShownSettingsOfReply(reply.data(), -1), {{"Mode", "MOD"},
                                                          {"Power Level", "Level 5"},
                                                          {"Operation Mode", "raw byte 0x09"},
                                                          {"Drag Brake custom", "20%"}});
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
    record.ChooseOption(1102, 0);  // Operation Mode, the first pair sent

    std::vector<std::string> changed;
    for (const SettingDifference& d : CompareSettings(ShownSettingsOfReply(reply.data(), -1), ShownAfterWrite(record)))
        changed.push_back(d.label + "=" + d.second);
    // In stock mode the boost and turbo pairs carry 0 (Boost ACC was 0 already).
    EXPECT_EQ(changed, (std::vector<std::string>{"Power Level=Level 3", "Boost Timing=0 deg*", "Boost RPM=500",
                                                 "Turbo Timing=0 deg*", "Turbo Slope=3 deg/0.1s", "Turbo Delay=off",
                                                 "Operation Mode=For/Brake*"}));
    EXPECT_EQ(ValueOf(ShownAfterWrite(record), "Initial Brake custom"), std::optional<std::string>("25%"))
        << "no pair carries it: what the ESC held stays";
}

constexpr const char* kNoEntry = "no entry of its list";

TEST(OutOfRange, ReplyValuesEachNamedWithFieldRawByteAndWhy)
{
    EXPECT_TRUE(FindOutOfRangeInReply(test::SampleReply().data()).empty());
    struct Case {
        int position;
        std::uint8_t raw;
        std::string label, value, reason;
    };
    // clang-format off
    const Case cases[] = {
        {4, 0x14, "Low volt cut custom", "2.0v", "outside 3.5v to 11.0v"},
        {4, 111, "Low volt cut custom", "11.1v", "outside 3.5v to 11.0v"},
        {2, 101, "Drag Brake custom", "101%", "outside 0% to 100%"},
        {20, 255, "Initial Brake custom", "255%", "outside 0% to 100%"},
        {6, 70, "Full Brake", "", kNoEntry}, {8, 7, "Initial Brake", "", kNoEntry},
        {1, 8, "Drag Brake", "", kNoEntry}, {3, 31, "Low volt cut", "", kNoEntry}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes reply = test::SampleReply();
        reply[static_cast<std::size_t>(c.position)] = c.raw;
        const auto found = FindOutOfRangeInReply(reply.data());
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(std::tie(found[0].label, found[0].position, found[0].raw, found[0].value, found[0].reason),
                  std::tie(c.label, c.position, c.raw, c.value, c.reason));
    }
    // The limits themselves are in range.
    Bytes edges = test::SampleReply();
    edges[4] = 35;
    edges[2] = 100;
    edges[6] = 75;
    EXPECT_TRUE(FindOutOfRangeInReply(edges.data()).empty());
}

TEST(OutOfRange, ProfileSlotsAndCustomBytes)
{
    ProfileImage image{};
    image[24] = 5;   // Drag Brake custom
    image[25] = 20;  // Initial Brake custom
    image[26] = 35;  // Low volt cut custom
    EXPECT_TRUE(FindOutOfRangeInProfile(image).empty());
    image[7] = 0xFF;  // a reserved slot: carried through whatever it holds
    EXPECT_TRUE(FindOutOfRangeInProfile(image).empty());
    image[0] = 9;     // Power Level has 9 entries: 0..8
    image[24] = 200;  // 200%
    image[26] = 20;   // 2.0v
    const auto found = FindOutOfRangeInProfile(image);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(Describe(found[0], "offset"), "Power Level (raw byte 0x09 at offset 0): no entry of its list");
    EXPECT_EQ(Describe(found[1], "offset"),
              "Drag Brake custom = 200% (raw byte 0xC8 at offset 24): outside 0% to 100%");
    EXPECT_EQ(Describe(found[2], "offset"),
              "Low volt cut custom = 2.0v (raw byte 0x14 at offset 26): outside 3.5v to 11.0v");
}

// A profile saved after such a read keeps what the ESC holds: the raw custom
// byte (not the field's refusal text), and "no entry" for a slot.
TEST(OutOfRange, KeepHeldValuesPutsTheEscBytesIntoTheProfile)
{
    Bytes reply = test::SampleReply();
    reply[4] = 0x14;
    reply[6] = 70;
    ProfileImage image{};
    image[17] = 0;  // Full Brake as an empty caption saves it
    image[26] = 0;  // "NONE" saves as 0
    KeepHeldValues(image, FindOutOfRangeInReply(reply.data()));
    EXPECT_EQ(image[26], 0x14);
    EXPECT_EQ(image[17], 0xFF);
    EXPECT_EQ(image[24], 0);
}

}  // namespace
}  // namespace kel
