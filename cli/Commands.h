#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Session.h"
#include "settings/OutOfRange.h"
#include "settings/Profile.h"

namespace kel::cli {

using Args = std::vector<std::string>;

// Each command returns the process exit status (ExitCodes.h).
int RunPorts(const GlobalOptions& options);
int RunDetect(const GlobalOptions& options, const Args& args);
int RunFlashEsc(const GlobalOptions& options, const Args& args);
int RunFlashBox(const GlobalOptions& options, const Args& args);
int RunCheck(const Args& args);
int RunRead(const GlobalOptions& options, const Args& args);
int RunWrite(const GlobalOptions& options, const Args& args);
int RunDefaults(const GlobalOptions& options, const Args& args);
int RunProfile(const GlobalOptions& options, const Args& args);
int RunDiff(const GlobalOptions& options, const Args& args);
int RunBackups(const GlobalOptions& options, const Args& args);

// Shared by the settings commands: connects in ESC mode and reads the
// settings (false, reasons said, when none were shown); a profile file that
// a load would take whole (none, reasons said, otherwise).
bool ConnectAndReadEsc(Session& session, std::vector<OutOfRangeValue>& held);
std::optional<ProfileImage> ReadCheckedProfile(const std::string& path);

// Prints "kel-cli: TEXT" and returns the usage exit status.
int UsageError(const std::string& text);

}  // namespace kel::cli
