#include "LinkPoller.h"

#include <algorithm>
#include <cstdio>

#include "ExchangeName.h"
#include "Protocol.h"
#include "Screen.h"
#include "UsbUart.h"
#include "link/ControlIds.h"

namespace kel {

namespace {
using namespace protocol;
constexpr int kEscAnswerMs = 10;
constexpr int kBoxAnswerMs = 150;
constexpr int kLoaderAnswerMs = 150;
constexpr int kVersionReplyMs = 500;
}  // namespace

void RefreshLamps(LinkContext& ctx)
{
    auto lamp = [&](int id, bool lit) { ctx.screen.SetBitmap(id, lit ? id::bmp::kLampOn : id::bmp::kLampOff); };
    lamp(id::kLampUsb, ctx.uart.usbState == UsbState::kInUse);
    lamp(id::kLampEsc, ctx.uart.escState == EscState::kConnected);
    lamp(id::kLampBox, ctx.link.boxConnected);
}

void EnableSettingButtons(Screen& screen, bool enabled)
{
    for (int control : {id::kPageThrottle, id::kPageBrake, id::kPageBooster, id::kPageTurbo, id::kPageModeSelect,
                        id::kPageGeneral, id::kPageProfile, id::kApply, id::kDefaults})
        screen.Enable(control, enabled);
}

std::string FormatEscVersion(const std::uint8_t* b)
{
    char text[64];
    std::snprintf(text, sizeof text, "Ver: %X%.2x%x%.2d", b[0], b[1], b[2], b[3]);
    return text;
}

std::string FormatBoxVersion(const std::uint8_t* b)
{
    char text[64];
    std::snprintf(text, sizeof text, "Ver: %X%.2x%.2x%.2d", b[0], b[1], b[2], b[3]);
    return text;
}

void LinkPoller::Tick()
{
    const ExchangeName name("poll");
    UsbUart& uart = ctx_.uart;
    uart.OpenPort();
    if (uart.usbState != UsbState::kInUse) {
        if (uart.portOpen) {
            uart.usbState = UsbState::kInUse;
            RefreshLamps(ctx_);
        }
        return;
    }
    switch (ctx_.link.pollMode) {
    case kPollEsc: PollEsc(); break;
    case kPollBox: PollBox(); break;
    case kPollFix: PollFixMode(); break;
    default: break;
    }
}

bool LinkPoller::SendProbe(std::uint8_t probe)
{
    if (ctx_.uart.SendCommand(probe) == 0)
        return true;
    // The box is gone: close, darken, and let later ticks find it again.
    ctx_.uart.ClosePort();
    RefreshLamps(ctx_);
    return false;
}

bool LinkPoller::QueryVersion()
{
    if (ctx_.uart.SendCommand(kQueryVersion) != 0) {
        ctx_.uart.SendCommand(kQueryVersion);
        return false;
    }
    return ctx_.uart.Receive(7, kVersionReplyMs) == 0;
}

void LinkPoller::PollEsc()
{
    UsbUart& uart = ctx_.uart;
    LinkState& link = ctx_.link;
    if (!SendProbe(kProbeEsc))
        return;
    uart.SendCommand(kProbeEsc);
    if (uart.Receive(1, kEscAnswerMs) != 0) {
        if (uart.escState == EscState::kSilent)
            return;
        uart.escState = EscState::kSilent;
        uart.PurgePort();
        link.boxConnected = false;
        link.versionText.clear();
        ctx_.screen.SetText(id::kVersionField, "");
        RefreshLamps(ctx_);
        return;
    }
    if (uart.rx[0] != kEscAnswer) {
        uart.PurgePort();
        return;
    }
    if (uart.escState == EscState::kConnected && !link.redetect)
        return;  // still connected

    // A new connection. The version is asked for every time, also when the
    // box flag is still set from ProgramBox mode: otherwise the version bytes
    // would be whatever the receive buffer holds.
    const bool versionArrived = QueryVersion();
    link.boxConnected = false;
    EnableSettingButtons(ctx_.screen, true);
    // A version that did not arrive is unknown (zeros, no text), never the
    // echo and old bytes the buffer still holds.
    link.escVersion = {};
    if (versionArrived)
        std::copy_n(uart.rx.begin(), link.escVersion.size(), link.escVersion.begin());
    link.versionText = versionArrived ? FormatEscVersion(link.escVersion.data()) : std::string();
    ctx_.screen.SetText(id::kVersionField, link.versionText);
    uart.escState = EscState::kConnected;
    if (onEscFound)
        onEscFound();
    link.redetect = false;
    RefreshLamps(ctx_);
}

void LinkPoller::PollBox()
{
    UsbUart& uart = ctx_.uart;
    LinkState& link = ctx_.link;
    if (!SendProbe(kProbeBox))
        return;
    if (uart.Receive(2, kBoxAnswerMs) != 0) {
        link.boxConnected = false;
        RefreshLamps(ctx_);
        return;
    }
    if ((uart.rx[0] & kBoxAnswerMask) != kBoxAnswer)
        return;
    if (!link.boxConnected || link.redetect)
        QueryVersion();
    // On later ticks bytes 2..5 still hold the first detection's version reply.
    link.redetect = false;
    link.boxConnected = true;
    EnableSettingButtons(ctx_.screen, false);
    link.versionText = FormatBoxVersion(&uart.rx[2]);
    ctx_.screen.SetText(id::kVersionField, link.versionText);
    uart.escState = EscState::kUnknown;
    RefreshLamps(ctx_);
}

void LinkPoller::PollFixMode()
{
    UsbUart& uart = ctx_.uart;
    if (!SendProbe(kProbeLoader))
        return;
    uart.Receive(1, kLoaderAnswerMs);
    uart.escState = uart.rx[0] == kLoaderReady ? EscState::kConnected : EscState::kUnknown;
    RefreshLamps(ctx_);
}

}  // namespace kel
