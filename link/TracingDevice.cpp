#include "TracingDevice.h"

namespace kel {

TracingDevice::TracingDevice(std::unique_ptr<SerialDevice> inner, Clock& clock, std::vector<TraceSink*> sinks)
    : inner_(std::move(inner))
    , clock_(clock)
    , sinks_(std::move(sinks))
    , startMs_(clock.NowMs())
{}

bool TracingDevice::Write(const std::uint8_t* data, std::size_t count)
{
    // Stamped before the write: the bytes left the PC then, whatever the port says.
    Record(data, count, true);
    return inner_->Write(data, count);
}

ReadResult TracingDevice::Read(std::uint8_t* data, std::size_t count, int timeoutMs)
{
    const ReadResult result = inner_->Read(data, count, timeoutMs);
    Record(data, result.count, false);
    return result;
}

void TracingDevice::Record(const std::uint8_t* data, std::size_t count, bool fromPc)
{
    if (count == 0)
        return;
    const std::int64_t ms = clock_.NowMs() - startMs_;
    batch_.clear();
    for (std::size_t i = 0; i < count; ++i)
        batch_.push_back({ms, data[i], fromPc});
    for (TraceSink* sink : sinks_)
        sink->Record(batch_.data(), batch_.size(), ExchangeName::Now());
}

}  // namespace kel
