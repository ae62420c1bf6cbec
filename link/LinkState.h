#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "StopRequest.h"

namespace kel {

class UsbUart;
class Screen;
class PollTimer;

// Poll modes chosen by the device radio buttons.
enum PollMode : int { kPollNone = 0, kPollEsc = 1, kPollBox = 2, kPollFix = 3 };

inline constexpr int kFirstPollPeriodMs = 2000;  // until the first exchange
inline constexpr int kPollPeriodMs = 500;        // after every exchange

// What the main window knows about the link beyond the UsbUart's own states.
struct LinkState {
    int pollMode = kPollNone;
    bool boxConnected = false;                 // the program box answers its own probe
    bool redetect = false;                     // the next answer counts as a new connection
    std::string versionText;                   // shown in the version field
    std::array<std::uint8_t, 4> escVersion{};  // as received; stored into profiles
    // Set while a firmware update lets window messages through: every other
    // handler that would talk to the device does nothing meanwhile.
    bool exchangeRunning = false;
    // Asked at the safe points of the longer exchanges (none: never stop);
    // where the last one stopped on request.
    const StopRequest* stop = nullptr;
    StopPoint stoppedAt;
};

inline bool StopRequested(const LinkState& link)
{
    return link.stop != nullptr && link.stop->Requested();
}

// The pieces every exchange talks through.
struct LinkContext {
    UsbUart& uart;
    LinkState& link;
    Screen& screen;
    PollTimer& pollTimer;
};

// Lamps follow the three states: USB, ESC, program box.
void RefreshLamps(LinkContext& ctx);
// Page buttons 1002..1008 with Apply and Default Settings (Home is never disabled).
void EnableSettingButtons(Screen& screen, bool enabled);

// "Ver: %X%.2x%x%.2d" of the ESC's four version bytes (1,2,3,4 → "Ver: 102304").
std::string FormatEscVersion(const std::uint8_t* bytes);
// "Ver: %X%.2x%.2x%.2d" of the box's version bytes (1,2,3,4 → "Ver: 1020304").
std::string FormatBoxVersion(const std::uint8_t* bytes);

}  // namespace kel
