#include "SettingsExchange.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "SettingsRecord.h"
#include "link/ExchangeName.h"
#include "link/PollTimer.h"
#include "link/Protocol.h"
#include "link/Screen.h"
#include "link/UsbUart.h"

namespace kel {

namespace {
constexpr int kWakeCount = 3;
constexpr int kWakeReplyMs = 100;
constexpr int kRequestResends = 5;
constexpr int kSettingsReplyMs = 100;
constexpr int kSettleMs = 150;
constexpr int kWriteResends = 5;  // one budget for the whole write
constexpr int kSecondAckMs = 200;
constexpr int kPairPauseMs = 10;
constexpr int kProgressStep = 5;
constexpr int kSucceededPauseMs = 500;
constexpr int kFailedPauseMs = 1000;
constexpr int kEndOfWriteReplyMs = 150;

std::string VersionMismatchText(const std::string& current, const std::string& profile)
{
    std::string text(text::kVersionMismatchFormat);
    for (const std::string* part : {&current, &profile})
        text.replace(text.find("%s"), 2, *part);
    return text;
}
}  // namespace

SettingsExchange::SettingsExchange(LinkContext ctx, SettingsRecord& record, ProfileState& profile)
    : ctx_(ctx)
    , record_(record)
    , profile_(profile)
{}

void SettingsExchange::ReadSettings()
{
    if (ctx_.link.exchangeRunning)
        return;
    const ExchangeName name("read settings");
    UsbUart& uart = ctx_.uart;
    ctx_.pollTimer.Stop();
    for (int i = 0; i < kWakeCount; ++i) {  // wakes the ESC and brings it in step
        uart.SendCommand(protocol::kProbeEsc);
        uart.Receive(1, kWakeReplyMs);
    }
    bool requested = false;
    for (int attempt = 0; attempt <= kRequestResends && !requested; ++attempt)
        requested = uart.SendCommand(protocol::kRequestSettings) == 0;
    if (requested) {
        if (uart.Receive(kSettingsReplySize, kSettingsReplyMs) != 0) {
            // Polling stays stopped until a firmware update restarts it.
            ctx_.screen.MessageBox(text::kUpdateFirmwareMessage, text::kBoxCaption, MessageIcon::None);
            EnableSettingButtons(ctx_.screen, false);
            return;
        }
        std::array<std::uint8_t, kSettingsReplySize> reply{};
        std::copy_n(uart.rx.begin(), reply.size(), reply.begin());
        std::copy(uart.rx.begin(), uart.rx.end(), record_.lastRead.begin());
        if (reply[kReplyEndByte] == protocol::kReplyEndMark) {
            EnableSettingButtons(ctx_.screen, true);
            record_.escMode = reply[kReplyModeByte] != 0 ? 1 : 0;
            ctx_.screen.Enable(id::kPageBooster, record_.escMode == 1);
            ctx_.screen.Enable(id::kPageTurbo, record_.escMode == 1);
            DecodeSettings(record_, reply.data());
        }
    }
    uart.PurgePort();
    uart.BusyWait(kSettleMs);
    ctx_.pollTimer.Start(kPollPeriodMs);
}

bool SettingsExchange::EscConnected()
{
    if (ctx_.uart.escState == EscState::kConnected)
        return true;
    ctx_.screen.MessageBox(text::kNoEscMessage, text::kBoxCaption, MessageIcon::Error);
    return false;
}

bool SettingsExchange::Apply()
{
    if (ctx_.link.exchangeRunning || !EscConnected())
        return false;
    if (profile_.loaded && profile_.versionText != ctx_.link.versionText) {
        // The flag stays: every write is refused until a matching profile is loaded.
        ctx_.screen.MessageBox(VersionMismatchText(ctx_.link.versionText, profile_.versionText), text::kAppCaption,
                               MessageIcon::None);
        return false;
    }
    const ExchangeName name("write settings");
    ctx_.pollTimer.Stop();
    const SettingsBlock block = EncodeSettings(record_);
    ctx_.screen.SettingsProgressOpen();
    const bool written = WriteSettings(block);
    ctx_.uart.SendCommand(protocol::kEndOfWrite);
    ctx_.uart.Receive(1, kEndOfWriteReplyMs);
    ctx_.uart.PurgePort();
    ctx_.pollTimer.Start(kPollPeriodMs);
    profile_.loaded = false;
    return written;
}

bool SettingsExchange::WriteSettings(const SettingsBlock& block)
{
    UsbUart& uart = ctx_.uart;
    Screen& screen = ctx_.screen;
    int resends = 0;
    int progress = 0;
    // Asked to stop before pair k (or before sending it again): the ESC holds
    // the pairs before k; the caller still ends the write.
    auto stopped = [&](int k) {
        ctx_.link.stoppedAt = {StopPoint::Exchange::SettingsWrite, k, kPairCount, k > 0};
        screen.SettingsProgressClose();
        return false;
    };
    for (int k = 0; k < kPairCount; ++k) {
        if (StopRequested(ctx_.link))
            return stopped(k);
        const std::uint8_t* pair = &block[static_cast<std::size_t>(2 * k)];
        uart.rx[0] = 0;
        bool acked = uart.SendBlockAcked(pair, 2) == 0;
        while (!acked && resends < kWriteResends) {
            if (StopRequested(ctx_.link))
                return stopped(k);
            ++resends;
            acked = uart.SendBlockAcked(pair, 2) == 0;
        }
        if (acked) {
            // A second acknowledge byte, when one comes, must be one as well.
            uart.Receive(1, kSecondAckMs);
            acked = uart.rx[0] == protocol::kAck;
        }
        if (!acked) {
            screen.SettingsProgressDetail(std::string(kParameterNames[static_cast<std::size_t>(k)])
                                          + std::string(text::kSetFailed));
            screen.SettingsProgressTitle(text::kSettingsNotWritten, false);
            uart.clock().Sleep(kFailedPauseMs);
            screen.SettingsProgressClose();
            return false;
        }
        uart.clock().Sleep(kPairPauseMs);
        progress += kProgressStep;
        screen.SettingsProgressSetPos(progress);
    }
    screen.SettingsProgressTitle(text::kSettingsWritten, true);
    uart.clock().Sleep(kSucceededPauseMs);
    screen.SettingsProgressClose();
    return true;
}

void SettingsExchange::RestoreDefaults()
{
    if (ctx_.link.exchangeRunning || !EscConnected())
        return;
    const ExchangeName name("defaults");
    if (ctx_.uart.SendCommand(protocol::kFactorySettings) != 0)
        return;
    ReadSettings();
    record_.EnableCustomFieldsBySlots();
}

}  // namespace kel
