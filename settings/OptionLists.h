#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// The entries an option slot (1081..1104) offers, in pop-up order, exactly as
// shown; the factory default ends in "*". Three reserved lists (1088, 1091,
// 1094) take their form from the ESC variant and mode; variant -1 (no profile
// loaded yet) leaves 1088 and 1091 empty. A slot outside 1081..1104 gives an
// empty list.
std::vector<std::string> BuildOptionList(int slot, int escVariant, int escMode);

// Position of `text` in `list`, comparing whole strings without regard to
// letter case; -1 when it is not there.
int FindOption(const std::vector<std::string>& list, std::string_view text);

} // namespace kel
