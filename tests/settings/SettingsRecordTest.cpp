#include <gtest/gtest.h>

#include "settings/SettingsRecord.h"
#include "support/RecordingScreen.h"

namespace kel {
namespace {

class SettingsRecordTest : public ::testing::Test {
protected:
    test::RecordingScreen screen;
    SettingsRecord record{screen};
};

TEST_F(SettingsRecordTest, StartsEmptyAndReadsAsIndexZero)
{
    for (int slot = 1081; slot <= 1104; ++slot) {
        EXPECT_EQ(record.Caption(slot), "");
        EXPECT_EQ(record.GetOptionIndex(slot), 0) << slot;
    }
    EXPECT_EQ(record.escMode, -1);
    EXPECT_EQ(record.escVariant, -1);
    for (int notASlot : {id::kFirstSlot - 1, id::kLastSlot + 1, 0}) {
        record.SetOptionIndex(notASlot, 0);
        EXPECT_EQ(record.Caption(notASlot), "");
    }
}

TEST_F(SettingsRecordTest, CaptionIsFoundIgnoringCaseButWithItsMarker)
{
    record.SetCaption(1081, "level 7*");
    EXPECT_EQ(record.GetOptionIndex(1081), 6);
    record.SetCaption(1081, "Level 7");
    EXPECT_EQ(record.GetOptionIndex(1081), -1);
}

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
}

TEST_F(SettingsRecordTest, ReservedListsFollowTheVariantAtEveryConversion)
{
    record.SetOptionIndex(1088, 60);  // variant -1: the list is empty
    EXPECT_EQ(record.Caption(1088), "");
    record.escVariant = 0;
    record.escMode = 0;
    record.SetOptionIndex(1088, 60);
    EXPECT_EQ(record.Caption(1088), "60 deg*");
    record.escVariant = 1;
    EXPECT_EQ(record.GetOptionIndex(1088), -1);  // "60 deg*" is no entry of variant 1
    record.escVariant = 0;
    EXPECT_EQ(record.GetOptionIndex(1088), 60);
}

TEST_F(SettingsRecordTest, ChoosingAnEntryMovesTheCustomSpinWithCustom)
{
    record.ChooseOption(1096, 7);
    EXPECT_EQ(record.Caption(1096), "Custom");
    EXPECT_TRUE(record.custom.SpinEnabled(CustomField::DragBrake));
    EXPECT_TRUE(screen.enabled.at(1049));
    EXPECT_FALSE(record.custom.EditEnabled(CustomField::DragBrake));
    record.ChooseOption(1096, 3);
    EXPECT_EQ(record.Caption(1096), "10%*");
    EXPECT_FALSE(screen.enabled.at(1049));
    record.ChooseOption(1101, 4);
    EXPECT_TRUE(screen.enabled.at(1051));
    record.ChooseOption(1095, 5);
    EXPECT_TRUE(screen.enabled.at(1046));
    record.ChooseOption(1081, 0);  // no custom field: nothing else changes
    EXPECT_EQ(screen.enabled.size(), 3u);
}

TEST_F(SettingsRecordTest, CustomFieldsFollowTheirSlotsExactly)
{
    record.SetOptionIndex(1095, 5);
    record.SetOptionIndex(1101, 3);
    record.custom.EnableEdit(CustomField::LowVolt, true);
    record.EnableCustomFieldsBySlots();
    EXPECT_TRUE(screen.enabled.at(1047));
    EXPECT_TRUE(screen.enabled.at(1046));
    EXPECT_FALSE(screen.enabled.at(1048));
    EXPECT_FALSE(screen.enabled.at(1049));
    EXPECT_FALSE(screen.enabled.at(1050));
    EXPECT_FALSE(screen.enabled.at(1051));
}

}  // namespace
}  // namespace kel
