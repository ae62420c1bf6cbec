#pragma once
#include <memory>
#include <optional>
#include <string>

#include "link/Clock.h"
#include "link/PortFinder.h"
#include "link/SerialDevice.h"

namespace kel {

// Which device a run talks to: the simulated box and ESC, a named serial
// device, or the first program box that is plugged in.
struct DeviceChoice {
    std::optional<std::string> port;  // --port DEVICE
    bool simulate = false;            // --simulate
};

struct Device {
    std::unique_ptr<SerialDevice> serial;
    std::unique_ptr<PortFinder> finder;
};

// The window and kel-cli build their device here. A simulated device keeps
// its time on `clock`, which must outlive it.
Device MakeDevice(const DeviceChoice& choice, Clock& clock);

}  // namespace kel
