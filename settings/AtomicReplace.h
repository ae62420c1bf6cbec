#pragma once
#include <string>

namespace kel {

// Moves the file `from` over `to` in one step, replacing `to` when it exists.
// On failure returns false and sets `why` to a reason a user can act on.
bool ReplaceFileAtomically(const std::string& from, const std::string& to, std::string& why);

}  // namespace kel
