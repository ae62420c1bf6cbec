#pragma once
#include <functional>

#include "LinkState.h"

namespace kel {

// One tick of the poll timer: make sure the port is open, send the probe of
// the chosen mode, and move the connection states, lamps and version text.
class LinkPoller {
public:
    explicit LinkPoller(LinkContext ctx) : ctx_(ctx) {}

    // Runs when an ESC newly answers in ESC mode, after its version is known:
    // reads its settings. Not set: nothing is read.
    std::function<void()> onEscFound;

    void Tick();
    // 0xD7 and its 7-byte reply at the start of the receive buffer. False
    // when the reply did not arrive whole: the buffer then holds old bytes.
    bool QueryVersion();

private:
    void PollEsc();
    void PollBox();
    void PollFixMode();
    bool SendProbe(std::uint8_t probe);

    LinkContext ctx_;
};

}  // namespace kel
