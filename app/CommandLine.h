#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kel::app {

struct AppOptions {
    bool simulate = false;             // --simulate
    std::optional<std::string> port;   // --port DEVICE
    bool reportStartup = false;        // --report-startup
    std::optional<std::string> trace;  // --trace FILE
};

enum class Request { Run, Help, Version, Error };

struct ParsedCommandLine {
    Request request = Request::Run;
    AppOptions options;
    std::string error;  // for Request::Error, one line for the user
};

// The program's arguments without the program name (the toolkit's own
// options already taken out).
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// --help or --version anywhere: answered before any window system is needed.
Request EarlyRequest(const std::vector<std::string>& args);

const char* HelpText();

}  // namespace kel::app
