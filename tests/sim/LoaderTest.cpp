#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "sim/Crc16.h"
#include "sim/SampleFirmware.h"
#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

// Hex digit pairs as bytes, read apart from the program's own readers.
Bytes FromHex(const std::string& text)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(Crc16, MatchesTheCatalogueCheckValue)
{
    const std::string text = "123456789";
    EXPECT_EQ(Crc16CcittFalse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0x29B1);
    EXPECT_EQ(HexRecordLine(0x00, 0x0100, {0x21, 0x46, 0x01}), ":0301000021460194");
}

// The ESC update: four 0xD6 back to back, 0x39 and 0x31, then the records.
TEST(EscLoader, AnEscUpdateRebuildsTheImageAndRestartsTheApplication)
{
    ModelHarness h;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(h.Send({0xD6}, 0), (Bytes{0xD6}));
    ASSERT_EQ(h.Send({0xD6}, 0), (Bytes{0xD6, 0xD7}));
    ASSERT_EQ(h.Reply({0x39}), (Bytes{0x01}));
    ASSERT_EQ(h.Reply({0x31}), (Bytes{0x01}));
    EXPECT_EQ(h.Reply({0xD5}), Bytes{}) << "a loader does not answer the presence probe";
    h.Send({0x3A, 0x10, 0x00}, DeviceModel::kIdleResetMs);  // a half record, dropped after the silence
    EXPECT_EQ(h.Reply({0x3A, 0x02, 0x00, 0x10, 0x00, 0xAB, 0xCD, 0x00}), (Bytes{0x02})) << "bad checksum";
    EXPECT_TRUE(h.model.EscFirmware().Image().empty()) << "and not programmed";

    const Bytes data = SampleFirmwareBytes(0x10000 + 40);  // crosses a 64 KiB boundary
    std::istringstream lines(MakeZrvText(data));
    for (std::string line; std::getline(lines, line);) {
        Bytes record = FromHex(line.substr(1));
        record.insert(record.begin(), 0x3A);
        ASSERT_EQ(h.Reply(record), (Bytes{0x01}));
    }
    EXPECT_EQ(h.model.EscFirmware().FlatImage(), data);
    EXPECT_EQ(h.model.EscFirmware().ChecksumFailures(), 1u);
    EXPECT_EQ(h.model.EscUpdatesCompleted(), 1);
    EXPECT_EQ(h.Reply({0xD5}), (Bytes{0x26}));
}

TEST(BoxLoader, ABoxUpdateKeepsEveryBlockAndEndsOnTheEmptyBlock)
{
    const Bytes data = SampleFirmwareBytes(1000);
    ModelHarness h;
    EnterBoxLoader(h);
    EXPECT_EQ(h.Reply({0xD6}), (Bytes{0xD7})) << "a repeated probe before the first block is answered again";
    const Bytes image = FromHex(MakeXupText(data));
    std::vector<Bytes> blocks;  // each a big-endian length and that many bytes
    for (std::size_t at = 0, end; at + 2 <= image.size(); at = end) {
        end = std::min(image.size(), at + 2 + image[at] * 256u + image[at + 1]);
        blocks.emplace_back(image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(end));
    }
    Bytes bad = blocks.front();
    bad[5] ^= 0x01;
    EXPECT_EQ(h.Reply(bad), (Bytes{0x12}));
    EXPECT_EQ(h.Reply({0x00, 0x01, 0x42}), (Bytes{0x12})) << "too short to hold a check value";
    for (const Bytes& block : blocks)
        ASSERT_EQ(h.Reply(block), (Bytes{0x11}));
    EXPECT_EQ(h.model.BoxFirmware().Image(), data);
    EXPECT_EQ(h.model.BoxFirmware().AcceptedBlocks().size(), blocks.size() - 1);
    EXPECT_EQ(h.model.Box(), BoxMode::Normal);
    EXPECT_EQ(h.model.BoxUpdatesCompleted(), 1);
    EXPECT_EQ(h.model.Esc(), EscMode::Application) << "the handshake's 0xD6 left the ESC alone";
    EXPECT_EQ(h.Reply({0xD4}), (Bytes{0xD1, 0x01}));

    ModelHarness loader({.escInLoader = true, .faults = {}});
    EnterBoxLoader(loader);  // the handshake works with the ESC in its loader too
}

}  // namespace
}  // namespace kel::sim::test
