#pragma once
#include <memory>
#include <vector>

#include "Clock.h"
#include "ExchangeName.h"
#include "SerialDevice.h"
#include "TraceFormat.h"

namespace kel {

// Where the bytes of the exchange log go: a file, the window's ring buffer.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void Record(const TraceByte* bytes, std::size_t count, ExchangeName::Current exchange) = 0;
};

// A serial device that hands every byte written and read to its sinks, with
// the clock's time since it was made and the exchange in progress. Installed
// only when somebody records: without it the link pays nothing.
class TracingDevice final : public SerialDevice {
public:
    TracingDevice(std::unique_ptr<SerialDevice> inner, Clock& clock, std::vector<TraceSink*> sinks);

    SerialDevice& Inner() { return *inner_; }

    bool Open(const std::string& device) override { return inner_->Open(device); }
    bool SetLineSettings(std::uint32_t baudRate) override { return inner_->SetLineSettings(baudRate); }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    bool Purge() override { return inner_->Purge(); }
    bool PurgeReceive() override { return inner_->PurgeReceive(); }
    bool Write(const std::uint8_t* data, std::size_t count) override;
    ReadResult Read(std::uint8_t* data, std::size_t count, int timeoutMs) override;
    std::string LastError() const override { return inner_->LastError(); }
    bool Lost() const override { return inner_->Lost(); }

private:
    void Record(const std::uint8_t* data, std::size_t count, bool fromPc);

    std::unique_ptr<SerialDevice> inner_;
    Clock& clock_;
    std::vector<TraceSink*> sinks_;
    std::int64_t startMs_;
    std::vector<TraceByte> batch_;
};

}  // namespace kel
