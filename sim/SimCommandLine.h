#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/DeviceModel.h"

namespace kel::sim {

// What kel-sim was asked to do.
struct SimCommandLine {
    DeviceOptions device;
    std::string link;      // --link PATH: a symbolic link to the served terminal
    bool pace = false;     // space output bytes at the wire speed
    bool verbose = false;  // log the traffic on standard error
    bool help = false;
    bool version = false;
    std::string writeZrv;  // --write-zrv FILE
    std::string writeXup;  // --write-xup FILE
    std::string report;    // --report FILE: what the devices hold, written on stop
    std::string replay;    // --replay FILE: answer from an exchange log instead
    std::optional<std::size_t> size;
};

// Parses the arguments after the program name. Returns an error text for the
// user, empty when the arguments are fine.
std::string ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out);

// "A.B.C.D" with each part 0..255.
std::optional<Version> ParseVersion(std::string_view text);

// The --help text.
std::string SimHelpText();

}  // namespace kel::sim
