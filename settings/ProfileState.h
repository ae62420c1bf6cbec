#pragma once
#include <string>

#include "link/Texts.h"

namespace kel {

// What the main window knows about profiles: the name shown in edit 1064,
// the version of the last loaded profile (edit 1110), and whether a profile
// was loaded since the last write to the ESC.
struct ProfileState {
    std::string name{text::kDefaultProfileName};
    std::string versionText;
    bool loaded = false;
};

}  // namespace kel
