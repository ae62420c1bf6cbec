#include <algorithm>
#include <set>

#include "settings/OptionLists.h"
#include "settings/ParameterTable.h"
#include "SettingsFixture.h"

namespace kel {
namespace {

// Every entry has its own byte, which leads back to it; a listed mapping names no more.
TEST(ParameterTable, EverySlotsBytesRoundTripOverItsEntries)
{
    for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot) {
        const Parameter& p = *ParameterOfSlot(slot);
        EXPECT_NE(p.options.entries.empty(), p.options.build == nullptr) << slot;
        if (p.map == ByteMap::Listed) {
            EXPECT_EQ(BuildOptionList(slot, -1, -1).size(), p.options.entries.size()) << slot;
        }
        // Every list the slot can offer: all variants and modes, for the built ones.
        for (int variant : {-1, 0, 1}) {
            for (int mode : {-1, 0, 1, 2}) {
                const OptionList list = BuildOptionList(slot, variant, mode);
                std::set<std::uint8_t> bytes;
                for (int i = 0; i < static_cast<int>(list.size()); ++i) {
                    const std::uint8_t byte = ToEscByte(p, i);
                    EXPECT_TRUE(bytes.insert(byte).second) << slot << " index " << i;
                    EXPECT_EQ(FromEscByte(p, byte), i) << slot << " byte " << int(byte);
                    EXPECT_EQ(FindOption(list, list[static_cast<std::size_t>(i)]), i) << slot << " " << list[i];
                }
                // Exactly one default, marked at the end (reserved lists may be empty before a profile).
                const auto marked =
                    std::count_if(list.begin(), list.end(), [](const std::string& e) { return e.ends_with('*'); });
                EXPECT_EQ(marked, list.empty() ? 0 : 1) << slot;
            }
        }
    }
    for (const CustomFieldInfo& info : kCustomFields)
        EXPECT_EQ(BuildOptionList(info.slot, -1, -1).at(static_cast<std::size_t>(info.customIndex)), "Custom");
}

TEST(ParameterTable, ProtocolBytesOfTheMappings)
{
    const Parameter& lowVolt = *ParameterOfSlot(1101);
    const Parameter& initialBrake = *ParameterOfSlot(1095);
    const std::pair<const Parameter*, std::vector<int>> listed[] = {{&lowVolt, {0, 29, 30, 32, 255}},
                                                                    {&initialBrake, {200, 0, 6, 12, 15, 255}}};
    for (const auto& [p, bytes] : listed) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(ToEscByte(*p, static_cast<int>(i)), bytes[i]) << p->source;
        EXPECT_EQ(ToEscByte(*p, static_cast<int>(bytes.size())), 0) << p->source;
    }
    EXPECT_EQ(FromEscByte(lowVolt, 31), -1);
    EXPECT_EQ(FromEscByte(initialBrake, 7), -1);
    // Computed mappings truncate toward zero; below the list they go negative.
    const Parameter &fullBrake = *ParameterOfSlot(1098), &reverse = *ParameterOfSlot(1103);
    EXPECT_EQ(ToEscByte(fullBrake, 5), 100);
    EXPECT_EQ(ToEscByte(reverse, 3), 100);
    EXPECT_EQ(ToEscByte(*ParameterOfSlot(1084), 4), 12);
    // clang-format off
    const std::tuple<const Parameter*, int, int> back[] = {
        {&fullBrake, 72, 0}, {&fullBrake, 70, -1}, {&reverse, 24, -1}, {ParameterOfSlot(1084), 14, 4}};
    // clang-format on
    for (const auto& [p, byte, index] : back)
        EXPECT_EQ(FromEscByte(*p, static_cast<std::uint8_t>(byte)), index) << p->source << " " << byte;
}

TEST(ParameterTable, BuiltListsFollowVariantAndMode)
{
    struct Case {
        int slot, variant, mode;
        std::size_t size;
        const char* marked;
    };
    // clang-format off
    const Case cases[] = {
        {1085, -1, -1, 61, "0 deg*"}, {1086, -1, -1, 20, "1500*"}, {1087, -1, -1, 14, "50 RPM/deg*"},
        {1088, 0, 0, 61, "60 deg*"}, {1088, 0, 1, 61, "off*"}, {1088, 1, 0, 61, "off*"}, {1088, -1, 0, 0, ""},
        {1091, 0, 0, 19, "6 deg/0.1s*"}, {1091, 0, 2, 19, "0 deg/0.1s*"}, {1091, 1, 1, 19, "6 deg/0.1s*"},
        {1091, -1, 1, 0, ""}, {1094, 0, 1, 56, "25000*"}, {1094, 1, 0, 56, "35000*"}, {1080, 0, 0, 0, ""},
        {1105, 0, 0, 0, ""}};
    // clang-format on
    for (const Case& c : cases) {
        const OptionList list = BuildOptionList(c.slot, c.variant, c.mode);
        EXPECT_EQ(list.size(), c.size) << c.slot << " variant " << c.variant << " mode " << c.mode;
        if (!list.empty()) {
            EXPECT_NE(FindOption(list, c.marked), -1) << c.slot << " " << c.marked;
        }
    }
    const OptionList rpm = BuildOptionList(1086, -1, -1);
    EXPECT_EQ(rpm[9], "5000");
    EXPECT_EQ(rpm[10], "6000");
    EXPECT_EQ(rpm.back(), "15000");
}

TEST(FindOption, MatchesWholeStringsIgnoringCase)
{
    const auto list = BuildOptionList(1081, -1, -1);
    EXPECT_EQ(FindOption(list, "LEVEL 7*"), 6);
    EXPECT_EQ(FindOption(list, "Level 7"), -1);  // the marker is part of the entry
    EXPECT_EQ(FindOption(list, "Level"), -1);
}

class SettingsRecordTest : public ::testing::Test {
protected:
    test::RecordingScreen screen;
    SettingsRecord record{screen};
};

TEST_F(SettingsRecordTest, SetOptionIndexShowsTheEntryAndIgnoresIndicesOutsideTheList)
{
    record.SetOptionIndex(1083, 2);
    EXPECT_EQ(record.Caption(1083), "8kHz*");
    EXPECT_EQ(screen.texts[1083], "8kHz*");
    const auto shown = screen.log.size();
    record.SetOptionIndex(1083, 6);
    record.SetOptionIndex(1083, -1);
    EXPECT_EQ(record.Caption(1083), "8kHz*");
    EXPECT_EQ(screen.log.size(), shown);
    for (int notASlot : {id::kFirstSlot - 1, id::kLastSlot + 1})
        EXPECT_EQ(record.Caption(notASlot), "") << notASlot;
}

TEST_F(SettingsRecordTest, ChoosingAnEntryMovesTheCustomSpinWithCustom)
{
    record.ChooseOption(1096, 7);
    EXPECT_EQ(record.Caption(1096), "Custom");
    record.ChooseOption(1101, 4);
    record.ChooseOption(1095, 5);
    test::ExpectEnabled(screen, {{1049, true}, {1051, true}, {1046, true}});
    EXPECT_FALSE(record.custom.EditEnabled(CustomField::DragBrake));
    record.ChooseOption(1096, 3);
    EXPECT_FALSE(screen.enabled.at(1049));
    record.ChooseOption(1081, 0);  // no custom field: nothing else changes
    EXPECT_EQ(screen.enabled.size(), 3u);
}

}  // namespace
}  // namespace kel
