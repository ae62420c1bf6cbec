#include "DeviceChoice.h"

#include "QtPortFinder.h"
#include "QtSerialDevice.h"
#include "sim/InProcessDevice.h"

namespace kel {

Device MakeDevice(const DeviceChoice& choice, Clock& clock)
{
    Device made;
    if (choice.simulate) {
        auto simulated = std::make_unique<sim::InProcessDevice>(clock);
        made.finder = std::make_unique<sim::InProcessPortFinder>(*simulated);
        made.serial = std::move(simulated);
        return made;
    }
    made.serial = std::make_unique<QtSerialDevice>();
    if (choice.port)
        made.finder = std::make_unique<FixedPortFinder>(*choice.port);
    else
        made.finder = std::make_unique<QtPortFinder>();
    return made;
}

}  // namespace kel
