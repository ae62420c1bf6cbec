#include "sim/InProcessDevice.h"

namespace kel::sim {

InProcessDevice::InProcessDevice(Clock& clock, DeviceOptions options) : clock_(clock), model_(options) {}

bool InProcessDevice::Open(const std::string& device)
{
    ++opens_;
    open_ = false;  // like a serial port object: opening again starts afresh
    if (!IsPresent()) {
        lastError_ = "no such device: " + device + " (the simulated box is unplugged)";
        return false;
    }
    lastError_.clear();
    open_ = true;
    gone_ = false;
    unplugsAtOpen_ = model_.Unplugs();
    // What arrived while nobody listened is not delivered to a new open.
    model_.DropArrived(clock_.NowMs());
    return true;
}

bool InProcessDevice::SetLineSettings(std::uint32_t)
{
    return Usable();
}

void InProcessDevice::Close()
{
    open_ = false;
    gone_ = false;
}

bool InProcessDevice::Purge()
{
    if (!Usable())
        return false;
    model_.DropArrived(clock_.NowMs());
    return true;
}

bool InProcessDevice::PurgeReceive()
{
    return Purge();  // the transmit side never holds anything back
}

bool InProcessDevice::Write(const std::uint8_t* data, std::size_t count)
{
    if (!Usable())
        return false;
    if (!model_.Receive(data, count, clock_.NowMs())) {
        gone_ = true;
        return false;
    }
    bytesWritten_ += count;
    return true;
}

ReadResult InProcessDevice::Read(std::uint8_t* data, std::size_t count, int timeoutMs)
{
    ReadResult result;
    if (!open_)
        return result;
    if (count == 0) {
        result.completed = true;
        return result;
    }
    const std::int64_t deadline = clock_.NowMs() + timeoutMs;
    const auto& output = model_.Output();
    if (output.size() >= count && output[count - 1].atMs <= deadline) {
        SleepUntil(output[count - 1].atMs);
        const auto bytes = model_.Take(count);
        std::copy(bytes.begin(), bytes.end(), data);
        result.completed = true;
        result.count = count;
        return result;
    }
    // A vanished device ends the read at once; otherwise wait the whole limit.
    if (Usable())
        SleepUntil(deadline);
    return result;
}

void InProcessDevice::SleepUntil(std::int64_t atMs)
{
    for (std::int64_t now = clock_.NowMs(); now < atMs; now = clock_.NowMs())
        clock_.Sleep(static_cast<int>(atMs - now));
}

bool InProcessDevice::Usable()
{
    if (!open_)
        return false;
    if (!model_.IsPresent(clock_.NowMs()) || model_.Unplugs() != unplugsAtOpen_)
        gone_ = true;
    return !gone_;
}

}  // namespace kel::sim
