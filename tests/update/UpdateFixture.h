#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/PosixFiles.h"
#include "link/LinkState.h"
#include "link/UsbUart.h"
#include "support/FakeSerialDevice.h"
#include "support/RecordingScreen.h"
#include "support/TempFolder.h"
#include "link/Texts.h"
#include "update/FirmwareUpdater.h"

namespace kel::test {

// What a refused firmware file is: its content, a FIFO, or no file at all.
enum class FileShape { Content, Missing, Fifo, Cancelled };

// A file an update refuses before a byte goes out, and a part of its message.
struct Refusal {
    const char* fileName;
    std::string file;
    const char* messagePart;
    FileShape shape = FileShape::Content;
    std::string_view caption = text::kAppCaption;
};

// A connected program box on a virtual clock, a temporary folder for
// firmware files, and the updater wired to both.
class UpdateTest : public ::testing::Test {
protected:
    struct TimedWrite {
        std::int64_t at;
        Bytes bytes;
    };

    VirtualClock clock;
    FakeSerialDevice device{clock};
    FixedPortFinder finder{"/dev/ttyUSB0"};
    UsbUart uart{device, finder, clock};
    LinkState link;
    RecordingScreen screen;
    RecordingPollTimer timer;
    FirmwareUpdater updater{LinkContext{uart, link, screen, timer}};
    TempFolder folder{"kel-update"};
    const std::filesystem::path dir = folder.Dir();
    std::vector<TimedWrite> timedWrites;
    // The device's answer to each write; none by default.
    std::function<Bytes(const Bytes&)> answer = [](const Bytes&) { return Bytes{}; };

    void SetUp() override
    {
        ASSERT_EQ(uart.OpenPort(), 0);
        uart.usbState = UsbState::kInUse;
        device.responder = [this](const Bytes& written) {
            timedWrites.push_back({clock.NowMs(), written});
            return FakeSerialDevice::Reply{answer(written), 0};
        };
    }

    // Makes the file (or shape) under `name` and queues it as the chooser's answer.
    std::string Choose(const std::string& name, const std::string& content, FileShape shape = FileShape::Content)
    {
        const std::string path = (dir / name).string();
        switch (shape) {
        case FileShape::Content: folder.Write(name, content); break;
        case FileShape::Missing: break;
        case FileShape::Cancelled: return path;
        case FileShape::Fifo: EXPECT_TRUE(MakeFifo(path)); break;
        }
        screen.fileAnswers.push_back(path);
        return path;
    }

    // Exactly one message box came up: this text (or, not `whole`, a part of it),
    // caption and icon.
    void ExpectOneMessage(std::string_view text, std::string_view caption, MessageIcon icon, bool whole = true)
    {
        ASSERT_EQ(screen.messages.size(), 1u);
        const std::string& shown = screen.messages[0].text;
        EXPECT_TRUE(whole ? shown == text : shown.find(text) != std::string::npos) << shown;
        EXPECT_EQ(screen.messages[0].caption, caption);
        EXPECT_EQ(screen.messages[0].icon, icon);
    }
    // The refusal's file is chosen and refused: one message with an error
    // icon, nothing sent, the port as it was.
    void ExpectRefused(const Refusal& r, UpdateOutcome outcome)
    {
        EXPECT_EQ(outcome, UpdateOutcome::FileError);
        ExpectOneMessage(r.messagePart, r.caption, MessageIcon::Error, false);
        EXPECT_TRUE(device.writes.empty());
        EXPECT_TRUE(uart.portOpen);
        EXPECT_FALSE(link.exchangeRunning);
    }
    // Times between consecutive writes of this one-byte command.
    std::vector<std::int64_t> GapsBetween(std::uint8_t command) const
    {
        std::vector<std::int64_t> gaps;
        std::int64_t last = -1;
        for (const auto& w : timedWrites) {
            if (w.bytes != Bytes{command})
                continue;
            if (last >= 0)
                gaps.push_back(w.at - last);
            last = w.at;
        }
        return gaps;
    }
};

}  // namespace kel::test
