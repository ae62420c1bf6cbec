#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Clock.h"
#include "PortFinder.h"
#include "SerialDevice.h"

namespace kel {

// The USB lamp: lit once the polling has taken the open port into use. The
// numbers are the ones kel-cli's `detect --json` prints.
enum class UsbState : int { kNotConnected = 0, kInUse = 2 };
// The ESC lamp: lit while an ESC (or, in FixMode, its loader) answers.
// kSilent marks an ESC probe that went unanswered, so that what follows the
// loss is done once.
enum class EscState : int { kUnknown = 0, kSilent = 1, kConnected = 2 };

// The one serial link to the program box. Every byte written comes back as an
// echo before any reply; every read lands at offset 0 of the receive buffer,
// where callers take replies from.
//
// Results: 0 success; 1 write failed or not acknowledged; 2 time-out; 3 short read.
class UsbUart {
public:
    static constexpr std::size_t kReceiveSize = 250;
    static constexpr std::size_t kTransmitSize = 100;
    static constexpr std::uint32_t kBaudRate = 19200;

    // Time limits of the link.
    static constexpr int kCommandEchoMs = 1000;
    static constexpr int kBlockEchoMs = 200;
    static constexpr int kBlockEchoRestMs = 100;
    static constexpr int kAckedEchoMs = 1000;
    static constexpr int kAckMs = 2000;
    static constexpr int kLineSettingsPauseMs = 60;
    static constexpr int kLegacyReceivePauseMs = 100;

    UsbUart(SerialDevice& device, PortFinder& finder, Clock& clock);
    virtual ~UsbUart();
    UsbUart(const UsbUart&) = delete;
    UsbUart& operator=(const UsbUart&) = delete;

    int OpenPort();
    void ClosePort();
    bool PurgePort();
    // 1 success, 0 failure.
    int WriteAll(const std::uint8_t* data, std::size_t count, std::uint32_t& written);
    // 1 completed, 0 not.
    int ReadWithTimeout(std::uint8_t* data, std::size_t count, std::uint32_t& read, int timeoutMs);
    void BusyWait(int ms);
    int SendCommand(std::uint8_t command);
    int Receive(std::size_t count, int timeoutMs);
    int SendBlock(const std::uint8_t* data, std::size_t count);
    int SendBlockAcked(const std::uint8_t* data, std::size_t count);

    static int HexDigitValue(char c);
    static std::uint8_t HexPairValue(char high, char low);

    // Link states (written by the polling and the box update).
    UsbState usbState = UsbState::kNotConnected;
    EscState escState = EscState::kUnknown;
    bool portOpen = false;  // while the device is open
    int legacySystem = 0;   // never set on this platform; kept for the Receive pause

    std::array<std::uint8_t, kReceiveSize> rx{};
    std::array<std::uint8_t, kTransmitSize> tx{};
    std::uint32_t bytesWritten = 0;
    std::uint32_t bytesRead = 0;

    // Device name of the last open attempt and why it failed, for diagnostics.
    const std::string& LastDevice() const { return lastDevice_; }
    const std::string& LastOpenError() const { return lastOpenError_; }

    Clock& clock() { return clock_; }

private:
    SerialDevice& device_;
    PortFinder& finder_;
    Clock& clock_;
    std::string lastDevice_;
    std::string lastOpenError_;
};

}  // namespace kel
