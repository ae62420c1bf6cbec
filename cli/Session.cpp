#include "Session.h"

#include <cstdio>

#include "ExitCodes.h"
#include "Output.h"
#include "link/qt/QtPortFinder.h"
#include "link/TracingDevice.h"
#include "link/qt/QtSerialDevice.h"
#include "resources/ResourceIds.h"
#include "sim/InProcessDevice.h"

namespace kel::cli {

Session::Session(const GlobalOptions& options) : options_(options)
{
    if (options.simulate) {
        auto simulated = std::make_unique<sim::InProcessDevice>(clock_);
        finder_ = std::make_unique<sim::InProcessPortFinder>(*simulated);
        device_ = std::move(simulated);
    } else {
        device_ = std::make_unique<QtSerialDevice>();
        if (options.port)
            finder_ = std::make_unique<FixedPortFinder>(*options.port);
        else
            finder_ = std::make_unique<QtPortFinder>();
    }
    if (options.trace)
        device_ = std::make_unique<TracingDevice>(std::move(device_), clock_, std::vector<TraceSink*>{options.trace.get()});
    logic_ = std::make_unique<KelDlgLogic>(*device_, *finder_, clock_, screen_, timer_);
    logic_->OnInitDialog();
    logic_->link().stop = &interrupt_;
    InstallInterruptHandlers();
}

Session::~Session() = default;

bool Session::Connect(int pollMode, int probeTicks)
{
    static constexpr int kRadioOfMode[] = {0, id::kRadioEsc, id::kRadioBox, id::kRadioFix};
    logic_->OnDeviceRadio(kRadioOfMode[pollMode]);
    logic_->OnTimer();
    UsbUart& uart = logic_->uart();
    if (uart.portOpen != 1) {
        output::Complain(uart.LastOpenError());
        return false;
    }
    connected_ = true;
    for (int i = 0; i < probeTicks && !Answered(pollMode) && !Interrupted(); ++i) {
        logic_->OnTimer();
        if (uart.portOpen != 1)
            break;  // the box went away mid-exchange
    }
    return true;
}

int Session::Finish(int status)
{
    // Either the driver said the device vanished, or a probe could not be
    // written and the port was closed.
    if (connected_ && (device_->Lost() || logic_->uart().portOpen != 1)) {
        const std::string& port = logic_->uart().LastDevice();
        output::Complain(port + " went away during the exchange: is the program box still plugged in?");
        return kExitDevice;
    }
    return status;
}

int Session::Stop(const std::string& state)
{
    logic_->uart().ClosePort();
    screen_.EndProgressLine();
    output::Complain("interrupted by " + InterruptName() + "; " + state);
    return InterruptExitStatus();
}

bool Session::Answered(int pollMode)
{
    const UsbUart& uart = logic_->uart();
    const LinkState& link = logic_->link();
    switch (pollMode) {
    case kPollEsc: return uart.escState == 2;
    case kPollBox: return link.boxConnected != 0;
    case kPollFix: return uart.escState == 2;
    default: return false;
    }
}

} // namespace kel::cli
