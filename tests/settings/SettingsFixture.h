#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "link/LinkState.h"
#include "link/UsbUart.h"
#include "settings/SettingsExchange.h"
#include "settings/SettingsRecord.h"
#include "support/FakeSerialDevice.h"
#include "support/RecordingScreen.h"

namespace kel::test {

// A settings reply whose every byte means something, in MOD mode, with the end mark.
inline Bytes SampleReply()
{
    return {0x01, 0x03, 20, 32, 35, 6, 100, 50, 200, 6, 30, 3, 1, 15, 2, 4, 0, 2, 0, 0, 25, 1, 1, 0xDD};
}

// Slots and their captions, or controls and whether they are enabled (they must have been set).
using Expected = std::initializer_list<std::pair<int, const char*>>;
inline void ExpectCaptions(const SettingsRecord& record, Expected want)
{
    for (const auto& [slot, caption] : want)
        EXPECT_EQ(record.Caption(slot), caption) << slot;
}
inline void ExpectEnabled(const RecordingScreen& screen, std::initializer_list<std::pair<int, bool>> want)
{
    for (const auto& [control, on] : want)
        EXPECT_EQ(screen.enabled.at(control), on) << control;
}
inline void ExpectTexts(RecordingScreen& screen, Expected want)
{
    for (const auto& [control, text] : want)
        EXPECT_EQ(screen.texts[control], text) << control;
}
// Exactly one message box was shown, with this text and caption.
inline void ExpectOneMessage(const RecordingScreen& screen, std::string_view text, std::string_view caption)
{
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, text);
    EXPECT_EQ(screen.messages[0].caption, caption);
}

// An ESC behind the program box, as far as the settings exchanges need one.
struct FakeEsc {
    Bytes reply = Bytes(24, 0);
    bool answersSettings = true;
    bool answersEndOfWrite = true;
    Bytes pairAnswer = {0x01, 0x01};
    std::map<std::uint8_t, int> refusals;  // tag → how many attempts to refuse
    std::vector<Bytes> pairs;              // every pair written, resends included

    FakeSerialDevice::Reply operator()(const Bytes& written)
    {
        if (written.size() == 2) {
            pairs.push_back(written);
            if (int& left = refusals[written[0]]; left > 0) {
                --left;
                return {{0x00}};
            }
            return {pairAnswer};
        }
        switch (written.at(0)) {
        case 0xD5: return {{0x26}};
        case 0xD8: return answersSettings ? FakeSerialDevice::Reply{reply} : FakeSerialDevice::Reply{};
        case 0xDF: return answersEndOfWrite ? FakeSerialDevice::Reply{{0x00}} : FakeSerialDevice::Reply{};
        default: return {};
        }
    }
};

// Fails the writes `fails` picks; all else goes straight through.
class FlakyWrites final : public SerialDevice {
public:
    explicit FlakyWrites(FakeSerialDevice& inner) : inner_(inner) {}
    std::function<bool(const Bytes& data)> fails;

    bool Open(const std::string& d) override { return inner_.Open(d); }
    bool SetLineSettings(std::uint32_t b) override { return inner_.SetLineSettings(b); }
    void Close() override { inner_.Close(); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    bool Purge() override { return inner_.Purge(); }
    bool PurgeReceive() override { return inner_.PurgeReceive(); }
    bool Write(const std::uint8_t* data, std::size_t count) override
    {
        if (fails && fails(Bytes(data, data + count)))
            return false;
        return inner_.Write(data, count);
    }
    ReadResult Read(std::uint8_t* data, std::size_t count, int timeoutMs) override
    {
        return inner_.Read(data, count, timeoutMs);
    }

private:
    FakeSerialDevice& inner_;
};

// A connected ESC with an open port, a record and the exchanges.
class SettingsFixture : public ::testing::Test {
protected:
    VirtualClock clock;
    FakeSerialDevice device{clock};
    FlakyWrites flaky{device};
    FixedPortFinder finder{"/dev/ttyUSB0"};
    UsbUart uart{flaky, finder, clock};
    RecordingScreen screen;
    RecordingPollTimer timer;
    LinkState link;
    SettingsRecord record{screen};
    ProfileState profile;
    SettingsExchange exchange{LinkContext{uart, link, screen, timer}, record, profile};
    FakeEsc esc;

    void SetUp() override
    {
        ASSERT_EQ(uart.OpenPort(), 0);
        uart.usbState = UsbState::kInUse;
        uart.escState = EscState::kConnected;
        link.versionText = "Ver: 102304";
        device.responder = std::ref(esc);
        timer.Start(2000);
    }

    // Everything written from now on, by call.
    std::size_t Mark() const { return device.writes.size(); }
    std::vector<Bytes> WritesSince(std::size_t mark) const
    {
        return {device.writes.begin() + static_cast<std::ptrdiff_t>(mark), device.writes.end()};
    }
};

}  // namespace kel::test
