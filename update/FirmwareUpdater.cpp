#include "FirmwareUpdater.h"

#include "UpdateTexts.h"
#include "link/Screen.h"
#include "link/UsbUart.h"

namespace kel {

UpdateOutcome FirmwareUpdater::OnUpdateButton()
{
    if (ctx_.link.exchangeRunning)
        return UpdateOutcome::NotStarted;
    if (ctx_.uart.usbState != 2) {
        ctx_.screen.MessageBox(text::kUsbConnectionError, kBoxCaption, MessageIcon::Error);
        return UpdateOutcome::NotStarted;
    }
    ctx_.screen.ProgressShowText("");
    ctx_.screen.ProgressSetPos(0);
    ctx_.screen.RepaintNow();
    if (ctx_.link.boxConnected != 0)
        return UpdateBox();
    if (ctx_.uart.escState == 2)
        return UpdateEsc();
    ctx_.screen.MessageBox(text::kDeviceConnectionError, kBoxCaption, MessageIcon::Error);
    return UpdateOutcome::NotStarted;
}

} // namespace kel
