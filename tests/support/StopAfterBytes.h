#pragma once
#include <cstddef>

#include "link/StopRequest.h"
#include "support/FakeSerialDevice.h"

namespace kel::test {

// A stop request (kel-cli's Ctrl-C) raised once the device has been sent
// `bytes` bytes: the exchange must stop at its next safe point.
class StopAfterBytes final : public StopRequest {
public:
    StopAfterBytes(const FakeSerialDevice& device, std::size_t bytes) : device_(device), bytes_(bytes) {}
    bool Requested() const override { return device_.AllWritten().size() >= bytes_; }

private:
    const FakeSerialDevice& device_;
    std::size_t bytes_;
};

}  // namespace kel::test
