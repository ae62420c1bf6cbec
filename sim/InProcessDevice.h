#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "link/Clock.h"
#include "link/PortFinder.h"
#include "link/SerialDevice.h"
#include "sim/DeviceModel.h"

namespace kel::sim {

// The name under which the in-process box is found and opened.
inline constexpr const char* kInProcessPortName = "sim";

// A serial port with the simulated box and ESC on the other end, in process.
// Writes reach the model at clock.NowMs(); a read waits (through the clock) for
// the count-th byte to arrive or for its time-out. On a VirtualClock nothing
// costs real time; on a SteadyClock the device runs in real time.
class InProcessDevice final : public SerialDevice {
public:
    explicit InProcessDevice(Clock& clock, DeviceOptions options = {});

    DeviceModel& Model() { return model_; }
    const DeviceModel& Model() const { return model_; }
    // Whether the box is plugged in now (false after an unplug fault, until a replug).
    bool IsPresent() { return model_.IsPresent(clock_.NowMs()); }

    // Counters of the PC's side.
    int Opens() const { return opens_; }
    std::size_t BytesWritten() const { return bytesWritten_; }

    // SerialDevice. Open of any name succeeds while the box is plugged in.
    bool Open(const std::string& device) override;
    bool SetLineSettings(std::uint32_t baudRate) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    bool Purge() override;
    bool PurgeReceive() override;
    bool Write(const std::uint8_t* data, std::size_t count) override;
    ReadResult Read(std::uint8_t* data, std::size_t count, int timeoutMs) override;
    std::string LastError() const override { return lastError_; }
    bool Lost() const override { return open_ && gone_; }

private:
    void SleepUntil(std::int64_t atMs);
    bool Usable();

    Clock& clock_;
    DeviceModel model_;
    bool open_ = false;
    bool gone_ = false;  // the box vanished while open: this handle stays dead
    int unplugsAtOpen_ = 0;
    int opens_ = 0;
    std::size_t bytesWritten_ = 0;
    std::string lastError_;
};

// Finds the in-process box while it is plugged in.
class InProcessPortFinder final : public PortFinder {
public:
    explicit InProcessPortFinder(InProcessDevice& device) : device_(device) {}
    std::optional<std::string> FindBoxPort() override
    {
        if (!device_.IsPresent())
            return std::nullopt;
        return std::string(kInProcessPortName);
    }

private:
    InProcessDevice& device_;
};

}  // namespace kel::sim
