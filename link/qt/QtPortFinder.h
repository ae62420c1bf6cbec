#pragma once
#include "link/PortFinder.h"

namespace kel {

// The first present serial port whose USB identifier is 10C4:EA60.
class QtPortFinder final : public PortFinder {
public:
    std::optional<std::string> FindBoxPort() override;
    std::string NotFoundReason() override;
};

}  // namespace kel
