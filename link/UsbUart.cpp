#include "UsbUart.h"

#include <algorithm>
#include <vector>

#include "Protocol.h"

namespace kel {

UsbUart::UsbUart(SerialDevice& device, PortFinder& finder, Clock& clock)
    : device_(device)
    , finder_(finder)
    , clock_(clock)
{}

UsbUart::~UsbUart()
{
    if (portOpen)
        device_.Close();
}

int UsbUart::OpenPort()
{
    if (portOpen)
        return 0;

    const auto found = finder_.FindBoxPort();
    lastDevice_ = found.value_or("");
    if (!found) {
        lastOpenError_ = finder_.NotFoundReason();
        return 1;
    }
    if (!device_.Open(*found)) {
        lastOpenError_ = device_.LastError();
        return 1;
    }
    lastOpenError_.clear();

    clock_.Sleep(kLineSettingsPauseMs);
    if (device_.SetLineSettings(kBaudRate)) {
        clock_.Sleep(kLineSettingsPauseMs);
        std::fill_n(rx.begin(), 60, 0);
        std::fill_n(tx.begin(), 60, 0);
        PurgePort();
    }
    // The port is used as the driver set it up when the settings were refused.
    portOpen = true;
    return 0;
}

void UsbUart::ClosePort()
{
    usbState = UsbState::kNotConnected;
    escState = EscState::kUnknown;
    portOpen = false;
    device_.Close();
}

bool UsbUart::PurgePort()
{
    return device_.Purge();
}

int UsbUart::WriteAll(const std::uint8_t* data, std::size_t count, std::uint32_t& written)
{
    written = 0;
    if (!device_.Write(data, count))
        return 0;
    written = static_cast<std::uint32_t>(count);
    return 1;
}

int UsbUart::ReadWithTimeout(std::uint8_t* data, std::size_t count, std::uint32_t& read, int timeoutMs)
{
    const ReadResult r = device_.Read(data, count, timeoutMs);
    read = static_cast<std::uint32_t>(r.count);
    return r.completed ? 1 : 0;
}

void UsbUart::BusyWait(int ms)
{
    if (ms > 0)
        clock_.BusyWait(ms);
}

int UsbUart::SendCommand(std::uint8_t command)
{
    device_.PurgeReceive();
    tx[0] = command;
    if (WriteAll(tx.data(), 1, bytesWritten) == 0)
        return 1;
    ReadWithTimeout(rx.data(), 1, bytesRead, kCommandEchoMs);  // the echo; its outcome does not matter
    return 0;
}

int UsbUart::Receive(std::size_t count, int timeoutMs)
{
    count = std::min(count, rx.size());
    if (legacySystem == 1)
        BusyWait(kLegacyReceivePauseMs);
    if (ReadWithTimeout(rx.data(), count, bytesRead, timeoutMs) == 1)
        return bytesRead == count ? 0 : 3;
    PurgePort();  // no late byte of this reply may pass for the next one
    return 2;
}

int UsbUart::SendBlock(const std::uint8_t* data, std::size_t count)
{
    // Late bytes of an earlier reply must not pass for this block's echo.
    device_.PurgeReceive();
    if (WriteAll(data, count, bytesWritten) == 0)
        return 1;
    // The echo may be longer than the receive buffer: read it whole, keep its head.
    std::vector<std::uint8_t> echo(count);
    ReadWithTimeout(echo.data(), count, bytesRead, kBlockEchoMs);
    std::size_t got = bytesRead;
    if (got < count) {
        std::uint32_t rest = 0;
        ReadWithTimeout(echo.data() + got, count - got, rest, kBlockEchoRestMs);
        got += rest;
        bytesRead = rest;
    }
    std::copy_n(echo.begin(), std::min(got, rx.size()), rx.begin());
    return 0;
}

int UsbUart::SendBlockAcked(const std::uint8_t* data, std::size_t count)
{
    PurgePort();
    if (WriteAll(data, count, bytesWritten) == 0)
        return 1;
    ReadWithTimeout(rx.data(), std::min(count, rx.size()), bytesRead, kAckedEchoMs);
    if (Receive(1, kAckMs) != 0)
        return 1;
    return rx[0] == protocol::kAck ? 0 : 1;
}

int UsbUart::HexDigitValue(char c)
{
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= '0' && c <= '9')
        return c - '0';
    return 0;
}

std::uint8_t UsbUart::HexPairValue(char high, char low)
{
    return static_cast<std::uint8_t>(HexDigitValue(high) * 16 + HexDigitValue(low));
}

}  // namespace kel
