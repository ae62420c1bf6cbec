#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "FirmwareCheck.h"
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

    // Called once the ESC firmware file was accepted, before the first byte
    // of the update goes out.
    std::function<void()> beforeEscFlash;

private:
    // The file's bytes when they may be sent: read without waiting, within
    // the kind's size, and passing the offline check. Otherwise the refusal
    // is shown ("Read File Error!" with `openErrorCaption` for a file that
    // cannot be opened or read, else the reason and the application's
    // caption) and none is returned; polling is the caller's.
    std::optional<std::string> CheckedFirmware(const std::string& path, FirmwareKind kind,
                                               std::string_view openErrorCaption);

    LinkContext ctx_;
};

}  // namespace kel
