#include "PageTable.h"

#include "resources/ResourceIds.h"

namespace kel {

namespace {
using namespace id;

const std::vector<int> kPageClearHidden = {
    // option buttons
    1081, 1082, 1083, 1084, 1085, 1086, 1087, 1088, 1089, 1090, 1091, 1092, 1093, 1094, 1095, 1096, 1097, 1098,
    1099, 1100, 1101, 1102, 1103, 1104,
    // Mode Select
    kStockText, kModText, kModeSwitch,
    // custom fields
    kInitialBrakeEdit, kDragBrakeEdit, kLowVoltEdit, kInitialBrakeSpin, kDragBrakeSpin, kLowVoltSpin,
    // Home
    kHomePicture, kVersionField, kUpdateButton, kProgressBar,
    // profile row
    kProfileName, kProfileVersion, kProfileSave, kProfileLoad,
    // controls no page shows
    1207, 1208, 1209, 1210, 1211, 1077, 1109, kDefaultHidden,
};

// Rows of each parameter page, top to bottom.
const std::vector<int> kThrottleRows = {1081, 1083, 1084};
const std::vector<int> kBoosterRows = {1085, 1086, 1087};
const std::vector<int> kTurboRows = {1089, 1090, 1093};
const std::vector<int> kBrakeRows = {1095, 1096, 1099, 1098};
const std::vector<int> kGeneralRows = {1100, 1101, 1102, 1103, 1104};
} // namespace

const std::vector<int>& PageClearHidden()
{
    return kPageClearHidden;
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
        page.labels = {"Power Level", "Drive Frequency", "Neutral DeadBand"};
        page.optionButtons = kThrottleRows;
        break;
    case kPageBooster:
        page.labels = {"Boost Timing", "Boost RPM", "Boost ACC"};
        page.hiddenLabels = {1204, 1205};
        page.optionButtons = kBoosterRows;
        break;
    case kPageTurbo:
        page.labels = {"Turbo Timing", "Turbo Slope", "Turbo Delay"};
        page.optionButtons = kTurboRows;
        break;
    case kPageBrake:
        page.labels = {"Initial Brake", "Drag Brake", "Brake Frequency", "Full Brake"};
        page.optionButtons = kBrakeRows;
        if (customFields)
            page.otherControls = {kInitialBrakeSpin, kDragBrakeSpin, kInitialBrakeEdit, kDragBrakeEdit};
        break;
    case kPageGeneral:
        page.labels = {"Temperature Set", "Low volt cut", "Operation Mode", "Reverse Speed", "Rotation mode"};
        page.optionButtons = kGeneralRows;
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

RowGeometry RowAt(int row)
{
    return {55, 190 + 55 * row, 160, 40, 245, 185 + 55 * row, 200, 34};
}

int RowOfOptionButton(int slot)
{
    for (const auto* rows : {&kThrottleRows, &kBoosterRows, &kTurboRows, &kBrakeRows, &kGeneralRows}) {
        for (std::size_t r = 0; r < rows->size(); ++r) {
            if ((*rows)[r] == slot)
                return static_cast<int>(r);
        }
    }
    return -1;
}

int PopupOffsetOf(int slot)
{
    if (slot == 1094)
        return 495;  // a reserved button, never shown
    const int row = RowOfOptionButton(slot);
    return row < 0 ? 185 + 35 : RowAt(row).buttonY + 35;
}

} // namespace kel
