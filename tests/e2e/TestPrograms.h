#pragma once
#include <cstdlib>
#include <string>

#include "CellRunner.h"

namespace kel::e2e {

// The programs built with these tests; KEL_E2E_CLI and KEL_E2E_SIM point the
// tests at other builds.
inline Programs BuiltPrograms()
{
    auto pick = [](const char* variable, const char* built) {
        const char* other = std::getenv(variable);
        return std::string(other && *other ? other : built);
    };
    return {pick("KEL_E2E_CLI", KEL_CLI_PATH), pick("KEL_E2E_SIM", KEL_SIM_PATH)};
}

}  // namespace kel::e2e
