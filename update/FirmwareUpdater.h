#pragma once
#include "link/LinkState.h"

namespace kel {

enum class UpdateOutcome {
    Updated,      // every byte went out and was taken
    NotStarted,   // no device to update, or another exchange is running
    FileError,    // no file chosen, unreadable, or refused before sending
    DeviceError,  // the device did not take the update (message shown)
    Interrupted,  // stopped on request at a safe point (LinkState::stoppedAt), no message
};

// The update button (control 1061) and the two firmware updates behind it.
// Every outcome is shown through the Screen; the poll timer runs again at
// 500 ms after every update that stopped it.
class FirmwareUpdater {
public:
    explicit FirmwareUpdater(LinkContext ctx) : ctx_(ctx) {}

    // Routes to the box update while the box answers, else to the ESC
    // update while an ESC answers; does nothing while an exchange runs.
    UpdateOutcome OnUpdateButton();

    // ESC firmware from a *.zrv file (Intel-HEX text, line by line).
    UpdateOutcome UpdateEsc();
    // Program box firmware from a *.xup file (hexadecimal blocks).
    UpdateOutcome UpdateBox();

private:
    LinkContext ctx_;
};

} // namespace kel
