#include "Session.h"

#include <cstdio>

#include "ExitCodes.h"
#include "Output.h"
#include "link/ControlIds.h"
#include "link/TracingDevice.h"
#include "link/qt/BackupLocation.h"

namespace kel::cli {

Session::Session(const GlobalOptions& options) : options_(options)
{
    device_ = MakeDevice({options.port, options.simulate}, clock_);
    if (options.trace)
        device_.serial = std::make_unique<TracingDevice>(std::move(device_.serial), clock_,
                                                         std::vector<TraceSink*>{options.trace.get()});
    logic_ = std::make_unique<KelDlgLogic>(*device_.serial, *device_.finder, clock_, screen_, timer_);
    logic_->OnInitDialog();
    logic_->SetStopRequest(&interrupt_);
    // A backup that cannot be kept is said, and the command goes on.
    logic_->backups().Use(std::make_unique<DiskBackupFolder>(BackupFolderPath()));
    logic_->backups().onWarning = [](const std::string& text) {
        std::fprintf(stderr, "kel-cli: warning: %s\n", text.c_str());
    };
    InstallInterruptHandlers();
}

Session::~Session() = default;

bool Session::Connect(int pollMode, int probeTicks)
{
    static constexpr int kRadioOfMode[] = {0, id::kRadioEsc, id::kRadioBox, id::kRadioFix};
    logic_->OnDeviceRadio(kRadioOfMode[pollMode]);
    logic_->OnTimer();
    if (!logic_->PortOpen()) {
        output::Complain(logic_->LastOpenError());
        return false;
    }
    connected_ = true;
    for (int i = 0; i < probeTicks && !logic_->Answered() && !Interrupted(); ++i) {
        logic_->OnTimer();
        if (!logic_->PortOpen())
            break;  // the box went away mid-exchange
    }
    return true;
}

int Session::Finish(int status)
{
    // Either the driver said the device vanished, or a probe could not be
    // written and the port was closed.
    if (connected_ && (device_.serial->Lost() || !logic_->PortOpen())) {
        const std::string& port = logic_->LastDevice();
        output::Complain(port + " went away during the exchange: is the program box still plugged in?");
        return kExitDevice;
    }
    return status;
}

int Session::Stop(const std::string& state)
{
    logic_->ClosePort();
    screen_.EndProgressLine();
    output::Complain("interrupted by " + InterruptName() + "; " + state);
    return InterruptExitStatus();
}

}  // namespace kel::cli
