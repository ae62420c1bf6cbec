#pragma once
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Session.h"
#include "settings/OutOfRange.h"
#include "settings/Profile.h"

namespace kel::cli {

// Each command returns the process exit status (ExitCodes.h).
// The command line has checked the options and the number of operands
// (CommandLine.cpp); a command checks what they say.
int RunPorts(const GlobalOptions& options, const Invocation& given);
int RunDetect(const GlobalOptions& options, const Invocation& given);
int RunFlashEsc(const GlobalOptions& options, const Invocation& given);
int RunFlashBox(const GlobalOptions& options, const Invocation& given);
int RunCheck(const GlobalOptions& options, const Invocation& given);
int RunRead(const GlobalOptions& options, const Invocation& given);
int RunWrite(const GlobalOptions& options, const Invocation& given);
int RunDefaults(const GlobalOptions& options, const Invocation& given);
int RunProfile(const GlobalOptions& options, const Invocation& given);
int RunDiff(const GlobalOptions& options, const Invocation& given);
int RunBackups(const GlobalOptions& options, const Invocation& given);

// Shared by the settings commands: connects in ESC mode and reads the
// settings (false, reasons said, when none were shown); a profile file that
// a load would take whole (none, reasons said, otherwise).
bool ConnectAndReadEsc(Session& session, std::vector<OutOfRangeValue>& held);
std::optional<ProfileImage> ReadCheckedProfile(const std::string& path);

// Prints "kel-cli: TEXT" and returns the usage exit status.
int UsageError(const std::string& text);

}  // namespace kel::cli
