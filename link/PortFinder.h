#pragma once
#include <optional>
#include <string>

#include "Texts.h"

namespace kel {

inline constexpr unsigned kBoxVendorId = 0x10C4;
inline constexpr unsigned kBoxProductId = 0xEA60;

// Finds the serial device of the program box: the first present USB serial
// bridge 10C4:EA60, or none. Asked afresh before every open attempt.
class PortFinder {
public:
    virtual ~PortFinder() = default;
    virtual std::optional<std::string> FindBoxPort() = 0;
    // Said when FindBoxPort finds nothing.
    virtual std::string NotFoundReason() { return std::string(text::kNoProgramBox); }
};

// Always the same device (`--port DEVICE`, the simulator).
class FixedPortFinder final : public PortFinder {
public:
    explicit FixedPortFinder(std::string device) : device_(std::move(device)) {}
    std::optional<std::string> FindBoxPort() override { return device_; }

private:
    std::string device_;
};

}  // namespace kel
