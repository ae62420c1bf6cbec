#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

struct ReadResult {
    bool completed = false;  // all requested bytes arrived within the limit
    std::size_t count = 0;   // bytes stored into the caller's buffer
};

// The operating system's serial port, reduced to what the link needs.
// Implementations: QtSerialDevice (QSerialPort), sim::InProcessDevice, test fakes.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Exclusive open of the device for reading and writing. No line settings yet.
    virtual bool Open(const std::string& device) = 0;
    // 19200 (the given rate) 8N1, raw, flow control as the driver has it.
    virtual bool SetLineSettings(std::uint32_t baudRate) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Drops both queues and aborts pending transfers.
    virtual bool Purge() = 0;
    // Drops only the receive queue.
    virtual bool PurgeReceive() = 0;
    // Writes every byte, waiting for completion; false when the write fails or is short.
    virtual bool Write(const std::uint8_t* data, std::size_t count) = 0;
    // Reads exactly count bytes, or gives up after timeoutMs. On a time-out the
    // pending read is cancelled (completed = false).
    virtual ReadResult Read(std::uint8_t* data, std::size_t count, int timeoutMs) = 0;
    // Why the last Open failed, in words a user can act on (may be empty).
    virtual std::string LastError() const { return {}; }
    // The device vanished while open (unplugged): nothing more can pass until
    // it is closed and opened again.
    virtual bool Lost() const { return false; }
};

}  // namespace kel
