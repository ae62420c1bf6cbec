// The program box firmware update: the *.xup file becomes a byte image in
// memory, a handshake with bounded retries wakes the box's loader, and the
// image goes out block by block, each answered by a status byte.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FirmwareUpdater.h"
#include "UpdateTexts.h"
#include "XupFile.h"
#include "link/ExchangeName.h"
#include "link/PollTimer.h"
#include "link/Protocol.h"
#include "link/Screen.h"
#include "link/UsbUart.h"

namespace kel {

namespace {

constexpr int kWakeCount = 3;
constexpr int kReplyMs = 1000;
constexpr int kReadyReplyMs = 1500;
constexpr std::array<int, 6> kRetryMs{1500, 2000, 500, 2000, 500, 500};

constexpr int kMaxSendings = 4;
constexpr int kBlockStatusMs = 2000;
constexpr int kSuccessPauseMs = 1000;

// Keeps every other device exchange of the window off while messages are
// dispatched between blocks.
class ExchangeGuard {
public:
    explicit ExchangeGuard(LinkState& link) : link_(link) { link_.exchangeRunning = true; }
    ~ExchangeGuard() { link_.exchangeRunning = false; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

private:
    LinkState& link_;
};

bool ReplyIs(UsbUart& uart, int receiveResult, std::uint8_t expected)
{
    return receiveResult == 0 && uart.rx[0] == expected;
}

// Sends the command again with each retry time-out until the expected reply
// comes, or until asked to stop.
bool RetryUntil(UsbUart& uart, const LinkState& link, std::uint8_t command, std::uint8_t expected, bool alreadyThere)
{
    for (int limit : kRetryMs) {
        if (alreadyThere || StopRequested(link))
            return alreadyThere;
        uart.SendCommand(command);  // its result is not looked at
        alreadyThere = ReplyIs(uart, uart.Receive(1, limit), expected);
    }
    return alreadyThere;
}

// The error text of the failing step, or none: also when asked to stop, so
// that the block loop reports the stop before the first block.
std::optional<std::string_view> BoxHandshake(UsbUart& uart, const LinkState& link)
{
    for (int i = 0; i < kWakeCount; ++i) {
        if (uart.SendCommand(protocol::kProbeLoader) != 0)
            return text::kTxD6Timeover;
        uart.Receive(1, kReplyMs);  // not looked at
    }
    if (uart.SendCommand(protocol::kBoxEnterLoader) != 0)
        return text::kTxD7Timeover;
    if (!RetryUntil(uart, link, protocol::kBoxEnterLoader, protocol::kBoxLoaderEntered,
                    ReplyIs(uart, uart.Receive(1, kReplyMs), protocol::kBoxLoaderEntered)))
        return StopRequested(link) ? std::nullopt : std::optional(text::kNoD8AfterD7);
    if (uart.SendCommand(protocol::kProbeLoader) != 0)
        return text::kTxD6Timeover;
    if (!RetryUntil(uart, link, protocol::kProbeLoader, protocol::kLoaderReady,
                    ReplyIs(uart, uart.Receive(1, kReadyReplyMs), protocol::kLoaderReady)))
        return StopRequested(link) ? std::nullopt : std::optional(text::kNoD7AfterD6);
    return std::nullopt;
}

int BlockCount(const std::vector<std::uint8_t>& image)
{
    int blocks = 0;
    for (std::size_t at = 0; at + 1 < image.size(); at += static_cast<std::size_t>(image[at]) * 256 + image[at + 1] + 2)
        ++blocks;
    return blocks;
}

// Sends every block; the error text of the failure, or none. A stop request
// ends it before the next block, with `stoppedAt` filled in.
std::optional<std::string_view> SendBlocks(UsbUart& uart, Screen& screen, const std::vector<std::uint8_t>& image,
                                           LinkState& link)
{
    const int blocks = BlockCount(image);
    int taken = 0;
    const auto imageLength = static_cast<std::int64_t>(image.size());
    std::int64_t sent = 0;
    std::size_t position = 0;
    int refusals = 0;
    while (position < image.size()) {
        if (StopRequested(link)) {
            link.stoppedAt = {StopPoint::Exchange::BoxUpdate, taken, blocks, true};
            return std::nullopt;
        }
        const std::size_t blockLength = static_cast<std::size_t>(image[position]) * 256 + image[position + 1] + 2;
        screen.ProgressSetPos(static_cast<int>(sent * 100 / imageLength));
        uart.PurgePort();
        screen.RepaintNow();
        screen.PumpMessages();
        if (uart.SendBlock(image.data() + position, blockLength) != 0)
            return text::kDataTransferError;
        if (uart.Receive(1, kBlockStatusMs) != 0)
            return text::kDataTransferNoAck;
        const std::uint8_t status = uart.rx[0];
        if (status == protocol::kBlockAccepted) {
            sent += static_cast<std::int64_t>(blockLength);
            position += blockLength;
            refusals = 0;
            ++taken;
        } else if (status == protocol::kBlockCheckFailed) {
            return text::kDataTransferCrc;
        } else if (++refusals == kMaxSendings) {
            return text::kRepeatOverFour;
        }
    }
    if (sent != imageLength)
        return text::kTransferBytesError;
    return std::nullopt;
}

}  // namespace

UpdateOutcome FirmwareUpdater::UpdateBox()
{
    if (ctx_.link.exchangeRunning)
        return UpdateOutcome::NotStarted;
    const ExchangeName name("flash box");
    UsbUart& uart = ctx_.uart;
    Screen& screen = ctx_.screen;

    const std::optional<std::string> path = screen.ChooseFile(FirmwareFileRequest("*.xup", text::kBoxFileFilter));
    if (!path) {
        // Polling was never stopped.
        screen.MessageBox(text::kReadFileError, text::kAppCaption, MessageIcon::Error);
        return UpdateOutcome::FileError;
    }
    // A file the box could not take whole is refused before the box is
    // woken; polling is not stopped for it.
    const std::optional<std::string> bytes = CheckedFirmware(*path, FirmwareKind::Xup, text::kAppCaption);
    if (!bytes)
        return UpdateOutcome::FileError;
    // From here on the window's other exchanges stay off (messages are
    // dispatched between blocks); polling stops with them.
    const ExchangeGuard guard(ctx_.link);
    ctx_.pollTimer.Stop();
    uart.PurgePort();
    const std::vector<std::uint8_t> image = XupImage(*bytes);

    if (StopRequested(ctx_.link)) {
        ctx_.link.stoppedAt = {StopPoint::Exchange::BoxUpdate, 0, BlockCount(image), false};
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::Interrupted;
    }
    ctx_.link.stoppedAt = {};
    std::optional<std::string_view> error = BoxHandshake(uart, ctx_.link);
    if (!error) {
        screen.ProgressSetPercentage(true);
        error = SendBlocks(uart, screen, image, ctx_.link);
    }
    if (!error && ctx_.link.stoppedAt.exchange == StopPoint::Exchange::BoxUpdate) {
        uart.ClosePort();  // as after a failure: the box leaves its loader on the next probe
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::Interrupted;
    }
    if (error) {
        uart.ClosePort();
        screen.MessageBox(*error, text::kAppCaption, MessageIcon::None);
        ctx_.pollTimer.Start(kPollPeriodMs);
        return UpdateOutcome::DeviceError;
    }

    screen.ProgressShowText(text::kUpdatedSuccessfully);
    screen.RepaintNow();
    uart.BusyWait(kSuccessPauseMs);
    uart.PurgePort();
    uart.escState = EscState::kSilent;
    ctx_.link.redetect = true;
    ctx_.pollTimer.Start(kPollPeriodMs);
    return UpdateOutcome::Updated;
}

}  // namespace kel
