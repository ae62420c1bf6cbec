#pragma once
#include <string>
#include <string_view>

#include "link/Screen.h"
#include "link/Texts.h"

namespace kel {

// The open dialog of an update: a firmware file that must exist, the pattern
// ("*.zrv") as the initial name and default extension.
inline FileDialogRequest FirmwareFileRequest(std::string_view pattern, std::string_view filter)
{
    FileDialogRequest request;
    request.initialName = std::string(pattern);
    request.defaultExt = std::string(pattern);
    request.filter = std::string(filter);
    request.mustExist = true;
    return request;
}

}  // namespace kel
