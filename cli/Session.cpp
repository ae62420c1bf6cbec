#include "Session.h"

#include <cstdio>

#include "link/qt/QtPortFinder.h"
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
    logic_ = std::make_unique<KelDlgLogic>(*device_, *finder_, clock_, screen_, timer_);
    logic_->OnInitDialog();
}

Session::~Session() = default;

bool Session::Connect(int pollMode, int probeTicks)
{
    static constexpr int kRadioOfMode[] = {0, id::kRadioEsc, id::kRadioBox, id::kRadioFix};
    logic_->OnDeviceRadio(kRadioOfMode[pollMode]);
    logic_->OnTimer();
    UsbUart& uart = logic_->uart();
    if (uart.portOpen != 1) {
        std::fprintf(stderr, "kel-cli: %s\n", uart.LastOpenError().c_str());
        return false;
    }
    for (int i = 0; i < probeTicks && !Answered(pollMode); ++i) {
        logic_->OnTimer();
        if (uart.portOpen != 1)
            break;  // the box went away mid-exchange
    }
    return true;
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
