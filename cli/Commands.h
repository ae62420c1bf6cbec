#pragma once
#include <string>
#include <vector>

#include "Session.h"

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

// Prints "kel-cli: TEXT" and returns the usage exit status.
int UsageError(const std::string& text);

} // namespace kel::cli
