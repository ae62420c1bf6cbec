// The ESC firmware update: a fixed handshake puts the ESC into its loader,
// then every line of the *.zrv file goes out as one record and waits for one
// acknowledgement byte.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FirmwareUpdater.h"
#include "UpdateTexts.h"
#include "ZrvFile.h"
#include "link/ExchangeName.h"
#include "link/PollTimer.h"
#include "link/Protocol.h"
#include "link/Screen.h"
#include "link/UsbUart.h"

namespace kel {

namespace {

constexpr int kLoaderProbes = 4;
constexpr int kHandshakeReplyMs = 1000;
constexpr int kRecordAckMs = 2000;
constexpr int kSuccessPauseMs = 1000;

// The error text of the first failing handshake step, or none: also when
// asked to stop between steps, so that the record loop reports the stop.
std::optional<std::string_view> EscHandshake(UsbUart& uart, const LinkState& link)
{
    int sent = 0;
    for (int i = 0; i < kLoaderProbes; ++i)
        sent = uart.SendCommand(protocol::kProbeLoader);  // only the last one's result counts
    // A missing reply fails too: the buffer would still hold an older byte.
    if (sent != 0 || uart.Receive(1, kHandshakeReplyMs) != 0 || uart.rx[0] != protocol::kLoaderReady)
        return text::kTxD6Timeover;
    if (StopRequested(link))
        return std::nullopt;
    if (uart.SendCommand(protocol::kLoaderStart) != 0)
        return text::kTx39Timeover;
    uart.Receive(1, kHandshakeReplyMs);  // not looked at
    if (StopRequested(link))
        return std::nullopt;
    if (uart.SendCommand(protocol::kLoaderGo) != 0)
        return text::kTx31Timeover;
    uart.Receive(1, kHandshakeReplyMs);  // not looked at
    return std::nullopt;
}

}  // namespace

UpdateOutcome FirmwareUpdater::UpdateEsc()
{
    if (ctx_.link.exchangeRunning)
        return UpdateOutcome::NotStarted;
    const ExchangeName name("flash ESC");
    UsbUart& uart = ctx_.uart;
    Screen& screen = ctx_.screen;
    auto readFileError = [&](std::string_view caption) {
        screen.MessageBox(text::kReadFileError, caption, MessageIcon::Error);
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::FileError;
    };
    // The port stays open: the user simply starts again.
    auto fail = [&](std::string_view error) {
        screen.MessageBox(error, text::kBoxCaption, MessageIcon::None);
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::DeviceError;
    };

    ctx_.pollTimer.Stop();
    const std::optional<std::string> path = screen.ChooseFile(FirmwareFileRequest("*.zrv", text::kEscFileFilter));
    if (!path)
        return readFileError(text::kBoxCaption);
    // Nothing goes out for a file the loader would refuse.
    const std::optional<std::string> first = CheckedFirmware(*path, FirmwareKind::Zrv, text::kBoxCaption);
    if (!first) {
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::FileError;
    }
    if (beforeEscFlash)
        beforeEscFlash();
    uart.PurgePort();
    const std::vector<std::string> lines = ZrvLines(*first);
    const std::int64_t total = ZrvTotal(lines);
    const int records = static_cast<int>(lines.size());
    // Asked to stop: from the handshake on, the ESC waits in its loader.
    auto stopped = [&](int taken, bool touched) {
        ctx_.link.stoppedAt = {StopPoint::Exchange::EscUpdate, taken, records, touched};
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::Interrupted;
    };
    if (StopRequested(ctx_.link))
        return stopped(0, false);

    if (const auto error = EscHandshake(uart, ctx_.link))
        return fail(*error);

    // The file is opened a second time before sending; what goes out is what
    // was checked, so a file changed in between is refused, not sent.
    const UserFile second = ReadFirmwareFile(*path, FirmwareKind::Zrv);
    if (!second.Read())
        return readFileError(text::kAppCaption);
    if (second.bytes != *first)
        return fail(*path + " changed after it was checked; nothing of it was sent. Start the update again.");
    std::int64_t sent = 0;
    int taken = 0;
    for (const std::string& line : lines) {
        if (StopRequested(ctx_.link))
            return stopped(taken, true);
        const std::vector<std::uint8_t> record = ZrvRecord(line);
        screen.ProgressSetPos(total > 0 ? static_cast<int>(sent * 100 / total) : 0);
        screen.RepaintNow();
        if (uart.SendBlock(record.data(), record.size()) != 0)
            return fail(text::kDataTransferError);
        if (uart.Receive(1, kRecordAckMs) != 0)  // any value will do
            return fail(text::kDataTransferNoAck);
        sent += static_cast<std::int64_t>(record.size());
        ++taken;
    }
    if (sent != total)
        return fail(text::kDataSizeError);

    screen.RepaintNow();
    uart.BusyWait(kSuccessPauseMs);
    screen.ProgressShowText(text::kUpdatedSuccessfully);
    uart.BusyWait(kSuccessPauseMs);
    ctx_.link.redetect = true;
    ctx_.pollTimer.Start(kPollPeriodMs);
    return UpdateOutcome::Updated;
}

}  // namespace kel
