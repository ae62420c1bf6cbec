#pragma once

namespace kel::cli {

// One run of kel-cli with these arguments (argv[0] the program): parses them,
// runs the command, and returns the exit status. Needs a QCoreApplication.
int RunCli(int argc, char** argv);

}  // namespace kel::cli
