#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kel::test {

// What one finished program run left behind.
struct RunResult {
    int exitCode = -1;                 // -1 when killed or not started
    bool killed = false;               // it outlived its hard limit
    std::int64_t wallMs = 0;           // from start to exit
    std::string out, err;              // standard output and error
    std::int64_t signalToExitMs = -1;  // from the signal of a SignalWhen to the exit
};

// A signal for a running program (Ctrl-C, a shutdown), sent once `when`
// holds; `when` is asked every few milliseconds with the standard error so far.
struct SignalWhen {
    int signal = 0;  // none
    std::function<bool(const std::string& err)> when;
};

// Runs a program to its end, capturing both output streams. A run that lasts
// longer than hardLimitMs is killed (a hang must fail the test, not stall it).
RunResult RunProgram(const std::string& path, const std::vector<std::string>& args, int hardLimitMs,
                     const SignalWhen& signal = {});

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// A fresh directory under the test's temporary folder.
std::string MakeTempDir(const std::string& stem);

// kel-sim as a child process: its first line of standard output is the
// terminal's path; its standard error (the --verbose byte log) goes to a file.
class SimProcess {
public:
    SimProcess(const std::string& path, std::vector<std::string> args, const std::string& logFile);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;

    // The terminal path, "" when kel-sim did not announce one in time.
    const std::string& Port() const { return port_; }
    // Stops it (SIGTERM); the log is complete after this.
    void Stop();
    std::string Log() const { return ReadWholeFile(logFile_); }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string port_;
    std::string logFile_;
};

}  // namespace kel::test
