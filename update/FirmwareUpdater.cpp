#include "FirmwareUpdater.h"

#include "UpdateTexts.h"
#include "link/Screen.h"
#include "link/UsbUart.h"

namespace kel {

namespace {

// What the other kind's file is called, when the name says it is one.
std::string WrongKindHint(const std::string& path, FirmwareKind wanted)
{
    const FirmwareKind named = FirmwareKindOf(path);
    if (named == FirmwareKind::Unknown || named == wanted)
        return {};
    return named == FirmwareKind::Xup ? " It is named like program box firmware (.xup); the ESC takes .zrv files."
                                      : " It is named like ESC firmware (.zrv); the program box takes .xup files.";
}

}  // namespace

std::optional<std::string> FirmwareUpdater::CheckedFirmware(const std::string& path, FirmwareKind kind,
                                                            std::string_view openErrorCaption)
{
    auto refuse = [&](std::string_view text, std::string_view caption) -> std::optional<std::string> {
        ctx_.screen.MessageBox(text, caption, MessageIcon::Error);
        return std::nullopt;
    };
    UserFile file = ReadFirmwareFile(path, kind);
    switch (file.refusal) {
    case FileRefusal::None: break;
    case FileRefusal::CannotOpen:
    case FileRefusal::ReadFailed: return refuse(text::kReadFileError, openErrorCaption);
    case FileRefusal::NotRegular:
    case FileRefusal::TooLarge: return refuse(file.reason + ". Nothing was sent.", text::kAppCaption);
    }
    const CheckReport report = kind == FirmwareKind::Xup ? CheckXup(file.bytes) : CheckZrv(file.bytes);
    if (const auto refusal = FirmwareRefusal(report))
        return refuse(path + " would not flash as written (" + *refusal + "). Nothing was sent."
                          + WrongKindHint(path, kind),
                      text::kAppCaption);
    return std::move(file.bytes);
}

UpdateOutcome FirmwareUpdater::OnUpdateButton()
{
    if (ctx_.link.exchangeRunning)
        return UpdateOutcome::NotStarted;
    if (ctx_.uart.usbState != UsbState::kInUse) {
        ctx_.screen.MessageBox(text::kUsbConnectionError, text::kBoxCaption, MessageIcon::Error);
        return UpdateOutcome::NotStarted;
    }
    ctx_.screen.ProgressShowText("");
    ctx_.screen.ProgressSetPos(0);
    ctx_.screen.RepaintNow();
    if (ctx_.link.boxConnected)
        return UpdateBox();
    if (ctx_.uart.escState == EscState::kConnected)
        return UpdateEsc();
    ctx_.screen.MessageBox(text::kDeviceConnectionError, text::kBoxCaption, MessageIcon::Error);
    return UpdateOutcome::NotStarted;
}

}  // namespace kel
