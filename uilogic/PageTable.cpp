#include "PageTable.h"

#include "link/ControlIds.h"
#include "settings/ParameterTable.h"

namespace kel {

namespace {
using namespace id;

std::vector<int> PageClearList()
{
    std::vector<int> hidden;
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot)
        hidden.push_back(slot);  // option buttons
    hidden.insert(hidden.end(), {
                                    // Mode Select
                                    kStockText,
                                    kModText,
                                    kModeSwitch,
                                    // custom fields
                                    kInitialBrakeEdit,
                                    kDragBrakeEdit,
                                    kLowVoltEdit,
                                    kInitialBrakeSpin,
                                    kDragBrakeSpin,
                                    kLowVoltSpin,
                                    // Home
                                    kHomePicture,
                                    kVersionField,
                                    kUpdateButton,
                                    kProgressBar,
                                    // profile row
                                    kProfileName,
                                    kProfileVersion,
                                    kProfileSave,
                                    kProfileLoad,
                                    // controls no page shows
                                    1207,
                                    1208,
                                    1209,
                                    1210,
                                    1211,
                                    1077,
                                    1109,
                                    kDefaultHidden,
                                });
    return hidden;
}

// A settings page: its rows' labels and option buttons, as the parameter table places them.
void AddParameterRows(PageContent& page)
{
    page.optionButtons = SlotsOnPage(page.pageButton);
    for (int slot : page.optionButtons)
        page.labels.emplace_back(ParameterOfSlot(slot)->label);
}
}  // namespace

const std::vector<int>& PageClearHidden()
{
    static const std::vector<int> hidden = PageClearList();
    return hidden;
}

PageContent PageFor(int pageButton, int escVariant)
{
    const bool customFields = escVariant != 1;
    PageContent page;
    page.pageButton = pageButton;
    switch (pageButton) {
    case kPageHome:
        page.hiddenLabels = {1200, 1201, 1202, 1203, 1204, 1205, 1206, 1207};
        page.otherControls = {kHomePicture, kVersionField, kUpdateButton, kProgressBar};
        break;
    case kPageThrottle:
    case kPageTurbo: AddParameterRows(page); break;
    case kPageBooster:
        AddParameterRows(page);
        page.hiddenLabels = {1204, 1205};
        break;
    case kPageBrake:
        AddParameterRows(page);
        if (customFields)
            page.otherControls = {kInitialBrakeSpin, kDragBrakeSpin, kInitialBrakeEdit, kDragBrakeEdit};
        break;
    case kPageGeneral:
        AddParameterRows(page);
        if (customFields)
            page.otherControls = {kLowVoltSpin, kLowVoltEdit};
        break;
    case kPageProfile:
        page.labels = {"ESC Setting Profile"};
        page.otherControls = {kProfileName, kProfileVersion, kProfileSave, kProfileLoad};
        break;
    case kPageModeSelect:
        page.labels = {"Mode Select"};
        page.otherControls = {kStockText, kModeSwitch, kModText};
        break;
    default: break;
    }
    return page;
}

int RowOfOptionButton(int slot)
{
    const Parameter* p = ParameterOfSlot(slot);
    return p ? p->row : -1;
}

}  // namespace kel
