#pragma once
#include <memory>

#include "link/Clock.h"
#include "link/LinkPoller.h"
#include "link/LinkState.h"
#include "link/PollTimer.h"
#include "link/PortFinder.h"
#include "link/Screen.h"
#include "link/SerialDevice.h"
#include "link/UsbUart.h"

namespace kel {

// The main window without its widgets: the link, the polling, the settings
// record and every handler of a user action. CKelDlg owns one and renders what
// it says through the Screen port; kel-cli drives one the same way.
class KelDlgLogic {
public:
    KelDlgLogic(SerialDevice& device, PortFinder& finder, Clock& clock, Screen& screen, PollTimer& pollTimer);
    ~KelDlgLogic();

    // End of the window's initialisation: dark lamps, empty version, the first
    // poll period.
    void OnInitDialog();
    // One poll timer tick (ignored while an exchange lets messages through).
    void OnTimer();
    // Device radio buttons: 1114 ESC, 1116 ProgramBox, 1117 FixMode.
    void OnDeviceRadio(int radioId);

    UsbUart& uart() { return uart_; }
    LinkState& link() { return link_; }
    LinkPoller& poller() { return poller_; }
    Screen& screen() { return screen_; }
    PollTimer& pollTimer() { return pollTimer_; }

private:
    LinkContext Context() { return LinkContext{uart_, link_, screen_, pollTimer_}; }

    Screen& screen_;
    PollTimer& pollTimer_;
    UsbUart uart_;
    LinkState link_;
    LinkPoller poller_;
};

} // namespace kel
