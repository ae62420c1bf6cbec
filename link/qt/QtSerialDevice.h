#pragma once
#include <QSerialPort>

#include "link/SerialDevice.h"

namespace kel {

// SerialDevice over QSerialPort, used from one thread without an event loop:
// every wait is a bounded waitFor...() call.
class QtSerialDevice final : public SerialDevice {
public:
    bool Open(const std::string& device) override;
    bool SetLineSettings(std::uint32_t baudRate) override;
    void Close() override;
    bool IsOpen() const override;
    bool Purge() override;
    bool PurgeReceive() override;
    bool Write(const std::uint8_t* data, std::size_t count) override;
    ReadResult Read(std::uint8_t* data, std::size_t count, int timeoutMs) override;
    std::string LastError() const override { return lastError_; }
    bool Lost() const override { return lost_; }
    // What the port holds that no read has taken yet (at most kReadBufferBytes).
    std::size_t Buffered() const { return static_cast<std::size_t>(port_.bytesAvailable()); }

    // Far above the longest read (a firmware block's echo).
    static constexpr qint64 kReadBufferBytes = 64 * 1024;

private:
    void NoteLoss();

    QSerialPort port_;
    std::string lastError_;
    bool lost_ = false;
};

}  // namespace kel
