#pragma once
#include <string>

#include "sim/DeviceModel.h"

namespace kel::sim {

// What the simulated devices hold, for scripts and tests (kel-sim --report):
// one "name: value" line each, bytes as upper-case hexadecimal pairs
// separated by blanks, one "box-block:" line per block the box took.
std::string StateReport(const DeviceModel& model);

}  // namespace kel::sim
