#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// The file as a text-mode reader sees it: every CR LF becomes one "\n".
// A CR that is not followed by LF stays as it is.
std::string TextModeView(std::string_view bytes);

// The lines of a text-mode view, line ends removed. A last line without a
// line end counts; nothing after the final line end does.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace kel
