// The exchange log: what the tracing device records, the ring that keeps the
// window's last bytes, and the line format read back.
#include <gtest/gtest.h>

#include "link/TraceFile.h"
#include "link/TraceRing.h"
#include "support/TempFolder.h"
#include "support/FakeSerialDevice.h"

namespace kel {
namespace {

using test::Bytes;
using test::FakeSerialDevice;

// Byte i of a run: its time stamp says which one it was.
TraceByte Nth(std::size_t i)
{
    return {static_cast<std::int64_t>(i), static_cast<std::uint8_t>(i), i % 3 == 0};
}

TEST(TraceRing, KeepsTheNewestBytesOldestFirst)
{
    struct Case {
        std::size_t recorded;
        std::size_t kept;
        std::size_t first;  // the oldest byte kept
    };
    const Case cases[] = {
        {0, 0, 0},
        {20'000, 20'000, 0},  // exactly full: nothing lost yet
        {20'001, 20'000, 1},  // one more: the oldest goes
        {45'000, 20'000, 25'000},
    };
    for (const Case& c : cases) {
        TraceRing ring;
        // In uneven batches, as reads and writes come.
        for (std::size_t i = 0; i < c.recorded;) {
            std::vector<TraceByte> batch;
            for (std::size_t n = 0; n < 1 + i % 7 && i < c.recorded; ++n)
                batch.push_back(Nth(i++));
            ring.Record(batch.data(), batch.size(), {});
        }
        const std::vector<TraceByte> kept = ring.Bytes();
        ASSERT_EQ(kept.size(), c.kept) << c.recorded;
        EXPECT_EQ(ring.Size(), c.kept);
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(kept[i], Nth(c.first + i)) << c.recorded << " bytes, kept " << i;
    }
}

TEST(TraceFormat, LinesReadBackAsWritten_TheFirstBadLineIsNamed)
{
    std::vector<TraceByte> bytes;
    const std::vector<std::string> exchanges{"poll", "poll", "read settings", "write settings", "poll"};
    std::string text = TraceRunLine("kel-cli test");
    TraceWriter writer;
    std::uint64_t serial = 1;
    for (const std::string& name : exchanges) {
        ++serial;  // two polls in a row are two exchanges
        for (int value : {0x00, 0x26, 0xD5, 0xFF}) {
            bytes.push_back(
                {static_cast<std::int64_t>(bytes.size() * 977), static_cast<std::uint8_t>(value), value != 0x26});
            writer.Append(text, bytes.back(), {name.c_str(), serial});
        }
    }
    text += "#comment line\n\n" + TraceRunLine("kel-cli again") + "# other\r\n   0 ms  < af\r\n";
    EXPECT_NE(text.find("\n# poll\n     0 ms  > 00\n   977 ms  < 26\n"), std::string::npos) << text;

    const ParsedTrace parsed = ParseTrace(text);
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.entries.size(), bytes.size() + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        EXPECT_EQ(parsed.entries[i].byte, bytes[i]) << i;
        EXPECT_EQ(parsed.entries[i].exchange, exchanges[i / 4]) << i;
    }
    EXPECT_EQ(parsed.entries.back().byte, (TraceByte{0, 0xAF, false}));  // lower case read too
    std::size_t headers = 0;
    for (std::size_t at = text.find("\n# "); at != std::string::npos; at = text.find("\n# ", at + 1))
        ++headers;
    EXPECT_EQ(headers, exchanges.size() + 1) << "one per exchange, and the hand-written one";

    // A line that is not a log line is named.
    for (const char* bad :
         {"12 ms > D", "12 ms = D5", "12 s > D5", "-1 ms > D5", "12 ms > D5 D6", "12 ms > G5", "D5"}) {
        const ParsedTrace parsed = ParseTrace(std::string("# poll\n  1 ms  > D5\n") + bad + "\n  2 ms  < D5\n");
        EXPECT_EQ(parsed.error.rfind("line 3: ", 0), 0u) << bad << ": " << parsed.error;
    }
}

TEST(TraceFile, AppendsEachRecordOnceUnderOneRunLinePerRun)
{
    const test::TempFolder folder{"kel-trace"};
    const std::string path = folder.Path("box.log");
    for (const char* run : {"first", "second"}) {  // a second run appends
        TraceFile file(path, run, {});
        ASSERT_TRUE(file.Open()) << file.Error();
        file.Record(std::vector<TraceByte>{Nth(0), Nth(1)}.data(), 2, {"poll", 1});
        file.Record(std::vector<TraceByte>{Nth(2)}.data(), 1, {"poll", 1});
    }
    const std::string bytes = "# poll\n     0 ms  > 00\n     1 ms  < 01\n     2 ms  < 02\n";
    const std::string text = folder.Read("box.log");
    EXPECT_EQ(text.substr(0, 10), "## first, ");
    EXPECT_EQ(text.find("## second, "), text.find(bytes) + bytes.size()) << text;
    EXPECT_EQ(text.rfind(bytes) + bytes.size(), text.size()) << text;
    EXPECT_EQ(ParseTrace(text).entries.size(), 6u);
}

#ifndef _WIN32
TEST(TraceFile, FullDiskWarnsOnceAndStopsTracing)
{
    std::vector<std::string> warnings;
    TraceFile file("/dev/full", "x", [&](const std::string& text) { warnings.push_back(text); });
    ASSERT_TRUE(file.Open());
    for (int i = 0; i < 3; ++i)
        file.Record(std::vector<TraceByte>{Nth(0)}.data(), 1, {"poll", 1});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("tracing stopped"), std::string::npos) << warnings[0];
}
#endif

TEST(TracingDevice, RecordsEachByteWithItsTimeDirectionAndExchange)
{
    VirtualClock clock;
    clock.Advance(5000);  // times count from the device's making
    auto fake = std::make_unique<FakeSerialDevice>(clock);
    FakeSerialDevice& inner = *fake;
    inner.responder = [](const Bytes&) { return FakeSerialDevice::Reply{{0x26}, 10}; };
    TraceRing ring;
    TracingDevice device(std::move(fake), clock, {&ring});
    ASSERT_TRUE(device.Open("/dev/ttyUSB0"));

    std::uint8_t reply[4]{};
    {
        const ExchangeName poll("poll");
        clock.Advance(3);
        device.Write(std::vector<std::uint8_t>{0xD5}.data(), 1);
        {
            const ExchangeName read("read settings");
            EXPECT_TRUE(device.Read(reply, 2, 100).completed);
        }
        EXPECT_FALSE(device.Read(reply, 4, 50).completed);  // a time-out records nothing
    }
    clock.Advance(1);
    device.Write(std::vector<std::uint8_t>{0xD8, 0x01}.data(), 2);
    EXPECT_EQ(inner.AllWritten(), (Bytes{0xD5, 0xD8, 0x01}));

    const std::string text = ring.Text("test");
    EXPECT_EQ(text.substr(text.find('\n') + 1), "# poll\n"
                                                "     3 ms  > D5\n"
                                                "# read settings\n"
                                                "    13 ms  < D5\n"
                                                "    13 ms  < 26\n"
                                                "# other\n"
                                                "    64 ms  > D8\n"
                                                "    64 ms  > 01\n");
}

}  // namespace
}  // namespace kel
