#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/Process.h"

namespace kel::e2e {

using Bytes = std::vector<std::uint8_t>;
using namespace kel::test;  // the child processes and files

struct Programs {
    std::string cli, sim;  // kel-cli, kel-sim
};

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

inline Bytes HexBytes(const std::string& text)
{
    Bytes bytes;
    std::istringstream words(text);
    for (std::string hex; words >> hex;)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
    return bytes;
}

// kel-sim's --report ("name: value" lines): what the devices held when it stopped.
struct SimReport {
    explicit SimReport(const std::string& text)
    {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t colon = line.find(": ");
            if (colon != std::string::npos && line.starts_with("box-block: "))
                boxBlocks.push_back(HexBytes(line.substr(colon + 2)));
            else if (colon != std::string::npos)
                values[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    std::string Value(const std::string& name) const { return values.contains(name) ? values.at(name) : ""; }
    std::size_t Number(const std::string& name) const { return Value(name).empty() ? 0 : std::stoul(Value(name)); }
    Bytes BytesOf(const std::string& name) const { return HexBytes(Value(name)); }

    std::map<std::string, std::string> values;
    std::vector<Bytes> boxBlocks;  // every "box-block:" line
};

// One kel-sim in a fresh folder (reporting what its devices hold when
// stopped) and the kel-cli runs made against it.
class SimSession {
public:
    explicit SimSession(std::vector<std::string> simArgs, const Programs& programs = BuiltPrograms())
        : programs_(programs)
        , folder_(MakeTempDir("kel-e2e"))
    {
        simArgs.insert(simArgs.begin(), {"--report", folder_ + "/report.txt"});
        sim_ = std::make_unique<SimProcess>(programs_.sim, simArgs, folder_ + "/sim.log");
    }
    ~SimSession()
    {
        sim_.reset();
        if (!keepFolder)
            std::filesystem::remove_all(folder_);
    }
    SimSession(const SimSession&) = delete;

    bool keepFolder = false;  // for a look at what a failed test left
    const std::string& Port() const { return sim_->Port(); }
    const std::string& Folder() const { return folder_; }
    // kel-sim's standard error (its byte log with --verbose).
    std::string Log() const { return sim_->Log(); }

    RunResult Cli(std::vector<std::string> args, int hardLimitMs = 60'000, const SignalWhen& signal = {}) const
    {
        args.insert(args.begin(), {"--port", Port()});
        return RunProgram(programs_.cli, args, hardLimitMs, signal);
    }
    // Sample firmware of `bytes` data bytes, made by kel-sim; its path.
    std::string SampleFirmware(const std::string& name, std::size_t bytes) const
    {
        const std::string path = folder_ + "/" + name;
        const bool zrv = name.ends_with(".zrv");
        RunProgram(programs_.sim, {zrv ? "--write-zrv" : "--write-xup", path, "--size", std::to_string(bytes)}, 10'000);
        return path;
    }
    // Stops kel-sim; what it reports the devices hold.
    SimReport StopAndReport()
    {
        sim_->Stop();
        return SimReport(ReadWholeFile(folder_ + "/report.txt"));
    }

private:
    Programs programs_;
    std::string folder_;
    std::unique_ptr<SimProcess> sim_;
};

}  // namespace kel::e2e
