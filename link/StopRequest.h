#pragma once

namespace kel {

// Asked by the longer exchanges at the points where they can stop without
// harm: before each settings pair, before the firmware handshake, before each
// firmware record or block. kel-cli answers from its SIGINT/SIGTERM handler;
// the window never asks to stop.
class StopRequest {
public:
    virtual ~StopRequest() = default;
    virtual bool Requested() const = 0;
};

// Where an exchange stopped on request, so the user can be told what the
// device holds now.
struct StopPoint {
    enum class Exchange { None, SettingsWrite, EscUpdate, BoxUpdate };
    Exchange exchange = Exchange::None;
    int done = 0;                // pairs acknowledged, records or blocks taken
    int total = 0;               // pairs, records or blocks in all
    bool deviceTouched = false;  // the handshake or a pair had reached the device
};

}  // namespace kel
