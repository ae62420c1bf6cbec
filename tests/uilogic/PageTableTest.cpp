#include <algorithm>
#include <gtest/gtest.h>

#include "link/ControlIds.h"
#include "settings/ParameterTable.h"
#include "uilogic/PageTable.h"

namespace kel {
namespace {

TEST(PageTable, SettingsPagesShowTheRowsKelCliNames)
{
    std::vector<int> windowOrder;
    for (int page : kParameterPages) {
        const PageContent content = PageFor(page, -1);
        ASSERT_EQ(content.labels.size(), content.optionButtons.size()) << page;
        for (std::size_t row = 0; row < content.labels.size(); ++row) {
            const int slot = content.optionButtons[row];
            EXPECT_EQ(RowOfOptionButton(slot), static_cast<int>(row)) << slot;
            EXPECT_EQ(FindLabel(content.labels[row])->slot, slot) << content.labels[row];
            windowOrder.push_back(slot);
        }
    }
    EXPECT_EQ(windowOrder, ShownSlots());
    for (int slot : ReservedSlots())
        EXPECT_EQ(RowOfOptionButton(slot), -1) << slot;
    EXPECT_EQ(PageFor(id::kPageProfile, 0).labels, std::vector<std::string>{"ESC Setting Profile"});
    EXPECT_EQ(PageFor(id::kPageModeSelect, 0).labels, std::vector<std::string>{"Mode Select"});
    EXPECT_TRUE(PageFor(id::kPageHome, 0).labels.empty());
}

TEST(PageTable, CustomFieldsFollowTheEscVariant)
{
    for (int variant : {-1, 0, 1}) {
        const bool shown = variant != 1;
        const PageContent brake = PageFor(id::kPageBrake, variant);
        const PageContent general = PageFor(id::kPageGeneral, variant);
        EXPECT_EQ(std::ranges::count(brake.otherControls, id::kInitialBrakeEdit), shown) << variant;
        EXPECT_EQ(std::ranges::count(brake.otherControls, id::kDragBrakeSpin), shown) << variant;
        EXPECT_EQ(std::ranges::count(general.otherControls, id::kLowVoltEdit), shown) << variant;
    }
}

}  // namespace
}  // namespace kel
