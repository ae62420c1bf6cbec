#include <algorithm>
#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "uilogic/PageTable.h"

namespace kel {
namespace {

bool Contains(const std::vector<int>& v, int x)
{
    return std::find(v.begin(), v.end(), x) != v.end();
}

TEST(PageTable, ParameterPagesShowTheirRowsInOrder)
{
    struct Case {
        int page;
        std::vector<std::string> labels;
        std::vector<int> buttons;
    };
    const Case cases[] = {
        {id::kPageThrottle, {"Power Level", "Drive Frequency", "Neutral DeadBand"}, {1081, 1083, 1084}},
        {id::kPageBooster, {"Boost Timing", "Boost RPM", "Boost ACC"}, {1085, 1086, 1087}},
        {id::kPageTurbo, {"Turbo Timing", "Turbo Slope", "Turbo Delay"}, {1089, 1090, 1093}},
        {id::kPageBrake, {"Initial Brake", "Drag Brake", "Brake Frequency", "Full Brake"}, {1095, 1096, 1099, 1098}},
        {id::kPageGeneral,
         {"Temperature Set", "Low volt cut", "Operation Mode", "Reverse Speed", "Rotation mode"},
         {1100, 1101, 1102, 1103, 1104}},
        {id::kPageProfile, {"ESC Setting Profile"}, {}},
        {id::kPageModeSelect, {"Mode Select"}, {}},
        {id::kPageHome, {}, {}},
    };
    for (const Case& c : cases) {
        const PageContent page = PageFor(c.page, -1);
        EXPECT_EQ(page.labels, c.labels) << c.page;
        EXPECT_EQ(page.optionButtons, c.buttons) << c.page;
    }
}

TEST(PageTable, CustomFieldsFollowTheEscVariant)
{
    for (int variant : {-1, 0, 1}) {
        const bool shown = variant != 1;
        const PageContent brake = PageFor(id::kPageBrake, variant);
        const PageContent general = PageFor(id::kPageGeneral, variant);
        EXPECT_EQ(Contains(brake.otherControls, id::kInitialBrakeEdit), shown) << variant;
        EXPECT_EQ(Contains(brake.otherControls, id::kDragBrakeSpin), shown) << variant;
        EXPECT_EQ(Contains(general.otherControls, id::kLowVoltEdit), shown) << variant;
        EXPECT_FALSE(Contains(general.otherControls, id::kDragBrakeEdit));
    }
}

TEST(PageTable, PageClearHidesEveryPageControlAndNoLabel)
{
    const auto& hidden = PageClearHidden();
    for (int slot = id::kFirstSlot; slot <= id::kLastSlot; ++slot)
        EXPECT_TRUE(Contains(hidden, slot)) << slot;
    for (int page : {id::kPageHome, id::kPageBrake, id::kPageGeneral, id::kPageProfile, id::kPageModeSelect}) {
        for (int control : PageFor(page, 0).otherControls)
            EXPECT_TRUE(Contains(hidden, control)) << control;
    }
    for (int label = id::kFirstRowLabel; label < id::kFirstRowLabel + id::kRowCount; ++label)
        EXPECT_FALSE(Contains(hidden, label));
}

TEST(PageTable, PopupOpensOnePixelBelowEachRow)
{
    const std::pair<int, int> cases[] = {{1081, 220}, {1083, 275}, {1084, 330}, {1098, 385}, {1104, 440}, {1094, 495}};
    for (auto [slot, offset] : cases)
        EXPECT_EQ(PopupOffsetOf(slot), offset) << slot;
}

} // namespace
} // namespace kel
