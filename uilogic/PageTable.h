#pragma once
#include <string>
#include <vector>

namespace kel {

// What each page of the main window shows. Every page control exists for the
// whole run; a page change only hides and shows.
struct PageContent {
    int pageButton = 0;
    std::vector<std::string> labels;  // row labels 1200, 1201, ... set to these texts
    std::vector<int> hiddenLabels;    // row labels hidden on this page
    std::vector<int> optionButtons;   // option buttons shown, rows 0, 1, ...
    std::vector<int> otherControls;   // further controls shown
};

// The page of a page button, for the given ESC variant (variant 1 has no
// custom fields). A settings page shows the rows the parameter table gives
// it. Unknown buttons give an empty content.
PageContent PageFor(int pageButton, int escVariant);

// Everything the page-clear routine hides before a page is shown (the row
// labels are not among them: they are set to a single space and shown).
const std::vector<int>& PageClearHidden();

// The row an option button sits on (its page's order), or -1 for the reserved slots.
int RowOfOptionButton(int slot);

}  // namespace kel
