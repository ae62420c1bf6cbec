#include <gtest/gtest.h>

#include <algorithm>

#include "settings/OptionLists.h"
#include "settings/ParameterTable.h"

namespace kel {
namespace {

struct ListCase {
    int slot;
    int variant;
    int mode;
    std::size_t size;
    int defaultIndex;  // -1: no entry marked
    const char* first;
    const char* last;
    int probeIndex;
    const char* probe;
};

class OptionListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(OptionListTest, HasItsEntriesDefaultAndOrder)
{
    const ListCase& c = GetParam();
    const auto list = BuildOptionList(c.slot, c.variant, c.mode);
    ASSERT_EQ(list.size(), c.size);
    if (c.size == 0)
        return;
    EXPECT_EQ(list.front(), c.first);
    EXPECT_EQ(list.back(), c.last);
    EXPECT_EQ(list.at(static_cast<std::size_t>(c.probeIndex)), c.probe);
    // Exactly one entry carries the default marker, as its last character.
    std::vector<int> marked;
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(std::count(list[i].begin(), list[i].end(), '*'), list[i].ends_with('*') ? 1 : 0) << list[i];
        if (list[i].ends_with('*'))
            marked.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(marked, std::vector<int>{c.defaultIndex});
}

INSTANTIATE_TEST_SUITE_P(
    EverySlot, OptionListTest,
    ::testing::Values(
        ListCase{1081, -1, -1, 9, 6, "Level 1", "Level 9", 6, "Level 7*"},
        ListCase{1082, -1, -1, 5, 0, "off*", "12%", 2, "6%"},
        ListCase{1083, -1, -1, 6, 2, "2kHz", "64kHz", 3, "16kHz"},
        ListCase{1084, -1, -1, 5, 2, "0%", "12%", 2, "6%*"},
        ListCase{1085, -1, -1, 61, 0, "0 deg*", "60 deg", 30, "30 deg"},
        ListCase{1086, -1, -1, 20, 2, "500", "15000", 9, "5000"},
        ListCase{1086, -1, -1, 20, 2, "500", "15000", 10, "6000"},
        ListCase{1087, -1, -1, 14, 0, "50 RPM/deg*", "700 RPM/deg", 1, "100 RPM/deg"},
        ListCase{1088, 0, 0, 61, 60, "off", "60 deg*", 59, "59 deg"},
        ListCase{1088, 0, 1, 61, 0, "off*", "60 deg", 1, "1 deg"},
        ListCase{1088, 1, 0, 61, 0, "off*", "60 deg", 60, "60 deg"},
        ListCase{1088, -1, 0, 0, -1, "", "", 0, ""},
        ListCase{1089, -1, -1, 61, 0, "0 deg*", "60 deg", 60, "60 deg"},
        ListCase{1090, -1, -1, 6, 3, "3 deg/0.1s", "Fastest", 3, "18 deg/0.1s*"},
        ListCase{1091, 0, 0, 19, 3, "0 deg/0.1s", "22 deg/0.1s", 5, "9 deg/0.1s"},
        ListCase{1091, 1, 1, 19, 3, "0 deg/0.1s", "22 deg/0.1s", 4, "8 deg/0.1s"},
        ListCase{1091, 0, 1, 19, 0, "0 deg/0.1s*", "22 deg/0.1s", 3, "6 deg/0.1s"},
        ListCase{1091, 0, 2, 19, 0, "0 deg/0.1s*", "22 deg/0.1s", 3, "6 deg/0.1s"},
        ListCase{1091, -1, 1, 0, -1, "", "", 0, ""},
        ListCase{1092, -1, -1, 3, 0, "full throttle*", "Full+RPM", 1, "RPM"},
        ListCase{1093, -1, -1, 9, 4, "off", "0.4 sec", 1, "0.05 sec"},
        ListCase{1094, -1, -1, 56, 20, "5000", "60000", 20, "25000*"},
        ListCase{1094, 0, 1, 56, 20, "5000", "60000", 30, "35000"},
        ListCase{1094, 1, 0, 56, 30, "5000", "60000", 30, "35000*"},
        ListCase{1095, -1, -1, 6, 0, "=Drag Brake*", "Custom", 4, "15%"},
        ListCase{1096, -1, -1, 8, 3, "0%", "Custom", 6, "20%"},
        ListCase{1097, -1, -1, 4, 2, "4kHz", "16kHz", 1, "6kHz"},
        ListCase{1098, -1, -1, 6, 5, "75%", "100%*", 1, "80%"},
        ListCase{1099, -1, -1, 6, 0, "1kHz*", "32kHz", 4, "16kHz"},
        ListCase{1100, -1, -1, 3, 1, "off", "212f/100c", 1, "176f/80c*"},
        ListCase{1101, -1, -1, 5, 3, "NONE", "Custom", 2, "3.0v/Cell"},
        ListCase{1102, -1, -1, 2, 0, "For/Brake*", "For/Rev/Brake", 0, "For/Brake*"},
        ListCase{1103, -1, -1, 4, 0, "25%*", "100%", 2, "75%"},
        ListCase{1104, -1, -1, 2, 0, "Normal*", "Reverse", 1, "Reverse"},
        ListCase{1080, -1, -1, 0, -1, "", "", 0, ""},
        ListCase{1105, 0, 0, 0, -1, "", "", 0, ""}));

TEST(FindOption, MatchesWholeStringsIgnoringCase)
{
    const auto list = BuildOptionList(1081, -1, -1);
    EXPECT_EQ(FindOption(list, "LEVEL 7*"), 6);
    EXPECT_EQ(FindOption(list, "level 1"), 0);
    EXPECT_EQ(FindOption(list, "Level 7"), -1);  // the marker is part of the entry
    EXPECT_EQ(FindOption(list, "Level"), -1);
    EXPECT_EQ(FindOption(list, "Level 1 "), -1);
    EXPECT_EQ(FindOption(list, ""), -1);
}

struct MapCase {
    ByteMap map;
    int index;
    int byte;
};

TEST(ByteMapping, EveryTabledEntryGoesBothWays)
{
    const MapCase cases[] = {
        {ByteMap::Index, 0, 0},         {ByteMap::Index, 60, 60},        {ByteMap::LowVolt, 0, 0},
        {ByteMap::LowVolt, 1, 29},      {ByteMap::LowVolt, 2, 30},       {ByteMap::LowVolt, 3, 32},
        {ByteMap::LowVolt, 4, 255},     {ByteMap::FullBrake, 0, 75},     {ByteMap::FullBrake, 5, 100},
        {ByteMap::ReverseSpeed, 0, 25}, {ByteMap::ReverseSpeed, 3, 100}, {ByteMap::InitialBrake, 0, 200},
        {ByteMap::InitialBrake, 1, 0},  {ByteMap::InitialBrake, 2, 6},   {ByteMap::InitialBrake, 3, 12},
        {ByteMap::InitialBrake, 4, 15}, {ByteMap::InitialBrake, 5, 255}, {ByteMap::DeadBand, 0, 0},
        {ByteMap::DeadBand, 4, 12},
    };
    for (const MapCase& c : cases) {
        EXPECT_EQ(ToEscByte(c.map, c.index), c.byte) << int(c.map) << " index " << c.index;
        EXPECT_EQ(FromEscByte(c.map, static_cast<std::uint8_t>(c.byte)), c.index) << int(c.map) << " byte " << c.byte;
    }
}

TEST(ByteMapping, BytesFromTheEscThatMapToNoEntry)
{
    // Tabled mappings know no other byte.
    for (int b : {1, 28, 31, 33, 254})
        EXPECT_EQ(FromEscByte(ByteMap::LowVolt, static_cast<std::uint8_t>(b)), -1) << b;
    for (int b : {7, 100, 199, 201})
        EXPECT_EQ(FromEscByte(ByteMap::InitialBrake, static_cast<std::uint8_t>(b)), -1) << b;
    // Computed mappings truncate toward zero; below the list they go negative.
    EXPECT_EQ(FromEscByte(ByteMap::FullBrake, 70), -1);
    EXPECT_EQ(FromEscByte(ByteMap::FullBrake, 72), 0);
    EXPECT_EQ(FromEscByte(ByteMap::FullBrake, 104), 5);
    EXPECT_EQ(FromEscByte(ByteMap::ReverseSpeed, 24), -1);
    EXPECT_EQ(FromEscByte(ByteMap::ReverseSpeed, 50), 1);
    EXPECT_EQ(FromEscByte(ByteMap::DeadBand, 14), 4);
    EXPECT_EQ(ToEscByte(ByteMap::LowVolt, 5), 0);
}

TEST(ParameterTable, PairsAreSentInReplyOrderUnderTheirNames)
{
    const std::uint8_t tags[] = {0xE1, 0xE2, 0xD2, 0xE3, 0xD3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9,
                                 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF5, 0xFE};
    int lastByte = -1;
    for (int k = 0; k < kPairCount; ++k) {
        EXPECT_EQ(kPairs[k].tag, tags[k]) << k;
        EXPECT_GT(kPairs[k].replyByte, lastByte);
        lastByte = kPairs[k].replyByte;
        EXPECT_EQ(kParameterNames[k], kPairs[k].pairName);
    }
    EXPECT_EQ(kParameterNames[1], "Neutral Brake");
    EXPECT_EQ(kParameterNames[20], "Initial Brake Custom ");
    EXPECT_EQ(kParameterNames[23], "trubo disengage slope");
    EXPECT_EQ(kParameterNames[26], "Motor Rotation");
}

TEST(ParameterTable, EverySlotHasOneRowAndPagesListTheirRowsInOrder)
{
    for (int slot = 1081; slot <= 1104; ++slot) {
        const Parameter* p = ParameterOfSlot(slot);
        ASSERT_NE(p, nullptr) << slot;
        EXPECT_EQ(p->source, slot);
        EXPECT_EQ(p->label.empty(), p->page == 0) << slot;
    }
    EXPECT_EQ(ParameterOfSlot(1047), nullptr);
    EXPECT_EQ(SlotsOnPage(1002), (std::vector<int>{1081, 1083, 1084}));
    EXPECT_EQ(SlotsOnPage(1004), (std::vector<int>{1085, 1086, 1087}));
    EXPECT_EQ(SlotsOnPage(1005), (std::vector<int>{1089, 1090, 1093}));
    EXPECT_EQ(SlotsOnPage(1003), (std::vector<int>{1095, 1096, 1099, 1098}));
    EXPECT_EQ(SlotsOnPage(1007), (std::vector<int>{1100, 1101, 1102, 1103, 1104}));
    EXPECT_TRUE(SlotsOnPage(0).empty());
}

TEST(FindLabel, PageLabelsAndCustomLabelsExactly)
{
    EXPECT_EQ(FindLabel("Power Level")->slot, 1081);
    EXPECT_FALSE(FindLabel("Power Level")->custom);
    EXPECT_EQ(FindLabel("Rotation mode")->slot, 1104);
    const auto custom = FindLabel("Low volt cut custom");
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->custom, CustomField::LowVolt);
    EXPECT_EQ(custom->slot, 1101);
    EXPECT_EQ(FindLabel("Drag Brake custom")->custom, CustomField::DragBrake);
    EXPECT_EQ(FindLabel("Initial Brake custom")->custom, CustomField::InitialBrake);
    EXPECT_FALSE(FindLabel("power level"));
    EXPECT_FALSE(FindLabel("ESC mode"));
    EXPECT_FALSE(FindLabel(""));
}

} // namespace
} // namespace kel
