// kel-sim: the program box with an ESC behind it, on a pseudo-terminal.
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <iterator>
#include <unistd.h>

#include "sim/SampleFirmware.h"
#include "sim/SimCommandLine.h"
#include "sim/StateReport.h"
#include "sim/pty/PtyServer.h"
#include "sim/pty/ReplayServer.h"

#ifndef KEL_VERSION
#define KEL_VERSION "0"
#endif

namespace {

int g_stopWrite = -1;

void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto ignored = write(g_stopWrite, &byte, 1);
}

// A pipe that becomes readable on SIGINT or SIGTERM; -1 on failure.
int StopSignalFd()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    g_stopWrite = fds[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return fds[0];
}

// kel-sim --replay FILE.
int Replay(const std::string& path, bool verbose, int stopFd)
{
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file) {
        std::cerr << "kel-sim: cannot read " << path << std::endl;
        return 1;
    }
    kel::ParsedTrace parsed = kel::ParseTrace(text);
    if (!parsed.error.empty()) {
        std::cerr << "kel-sim: " << path << " " << parsed.error << std::endl;
        return 1;
    }
    kel::sim::TraceReplay replay(std::move(parsed.entries));
    return kel::sim::ReplayServer(replay, verbose, std::cout, std::cerr).Run(stopFd);
}

int WriteSample(const std::string& path, const std::string& text)
{
    // Written beside the target and renamed, so a failed write leaves no half file.
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (!file) {
            std::cerr << "kel-sim: cannot write " << path << std::endl;
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::cerr << "kel-sim: cannot write " << path << std::endl;
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace kel::sim;
    SimCommandLine options;
    const std::string error = ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) {
        std::cerr << "kel-sim: " << error << "\nTry kel-sim --help." << std::endl;
        return 2;
    }
    if (options.help) {
        std::cout << SimHelpText();
        return 0;
    }
    if (options.version) {
        std::cout << "kel-sim " KEL_VERSION << std::endl;
        return 0;
    }
    if (!options.writeZrv.empty())
        return WriteSample(options.writeZrv, MakeZrvText(SampleFirmwareBytes(*options.size)));
    if (!options.writeXup.empty())
        return WriteSample(options.writeXup, MakeXupText(SampleFirmwareBytes(*options.size)));

    const int stopFd = StopSignalFd();
    if (stopFd < 0) {
        std::cerr << "kel-sim: cannot set up signal handling" << std::endl;
        return 1;
    }
    if (!options.replay.empty())
        return Replay(options.replay, options.verbose, stopFd);
    DeviceModel model(options.device);
    PtyServer server(model, {options.link, options.pace, options.verbose}, std::cout, std::cerr);
    const int status = server.Run(stopFd);
    if (!options.report.empty() && WriteSample(options.report, StateReport(model)) != 0)
        return 1;
    return status;
}
