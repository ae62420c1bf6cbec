#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/Process.h"
#include "SimReport.h"
#include "TestPrograms.h"

namespace kel::e2e {

// One kel-sim (reporting what its devices hold when stopped) and the kel-cli
// runs made against it.
class SimSession {
public:
    explicit SimSession(std::vector<std::string> simArgs)
        : programs_(BuiltPrograms())
        , folder_(MakeTempDir("kel-e2e-trip"))
        , simArgs_(std::move(simArgs))
    {
        std::vector<std::string> args{"--report", folder_ + "/report.txt"};
        args.insert(args.end(), simArgs_.begin(), simArgs_.end());
        sim_ = std::make_unique<SimProcess>(programs_.sim, args, folder_ + "/sim.log");
    }
    ~SimSession()
    {
        sim_.reset();
        std::filesystem::remove_all(folder_);
    }
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    const std::string& Port() const { return sim_->Port(); }
    const std::string& Folder() const { return folder_; }
    // kel-sim's standard error (its byte log with --verbose).
    std::string Log() const { return sim_->Log(); }

    RunResult Cli(std::vector<std::string> args, int hardLimitMs = 60'000, const SignalWhen& signal = {}) const
    {
        args.insert(args.begin(), {"--port", Port()});
        return RunProgram(programs_.cli, args, hardLimitMs, signal);
    }
    // Makes sample firmware of `bytes` data bytes with kel-sim; its path.
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
    std::vector<std::string> simArgs_;
    std::unique_ptr<SimProcess> sim_;
};

}  // namespace kel::e2e
