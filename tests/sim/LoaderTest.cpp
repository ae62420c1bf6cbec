#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sim/Crc16.h"
#include "sim/SampleFirmware.h"
#include "support/HexText.h"
#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

// Each .zrv line as the record bytes the PC sends: 0x3A, then the digit pairs.
std::vector<Bytes> RecordsOf(const std::string& zrv)
{
    std::vector<Bytes> records;
    std::istringstream lines(zrv);
    for (std::string line; std::getline(lines, line);) {
        Bytes record{0x3A};
        for (std::size_t i = 1; i + 1 < line.size(); i += 2)
            record.push_back(kel::test::HexByte(line, i));
        records.push_back(record);
    }
    return records;
}

// The ESC update's handshake: four 0xD6 back to back, then 0x39 and 0x31.
void EnterEscLoader(ModelHarness& h)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(h.Send({0xD6}, 0), (Bytes{0xD6}));
    ASSERT_EQ(h.Send({0xD6}, 0), (Bytes{0xD6, 0xD7}));
    ASSERT_EQ(h.Reply({0x39}), (Bytes{0x01}));
    ASSERT_EQ(h.Reply({0x31}), (Bytes{0x01}));
}

TEST(Crc16, MatchesTheCatalogueCheckValue)
{
    const std::string text = "123456789";
    EXPECT_EQ(Crc16CcittFalse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0x29B1);
}

TEST(SampleFirmware, RecordLinesCarryTheirChecksum)
{
    EXPECT_EQ(HexRecordLine(0x01, 0, {}), ":00000001FF");
    EXPECT_EQ(HexRecordLine(0x00, 0x0100, {0x21, 0x46, 0x01}), ":0301000021460194");
}

TEST(EscLoader, AnEscUpdateRebuildsTheImageAndRestartsTheApplication)
{
    const Bytes data = SampleFirmwareBytes(0x10000 + 40);  // crosses a 64 KiB boundary
    ModelHarness h;
    EnterEscLoader(h);
    EXPECT_EQ(h.Reply({0xD5}), Bytes{}) << "a loader does not answer the presence probe";
    for (const Bytes& record : RecordsOf(MakeZrvText(data))) {
        ASSERT_EQ(record.size(), record[1] + 6u);
        ASSERT_EQ(h.Reply(record), (Bytes{0x01}));
    }
    EXPECT_EQ(h.model.EscFirmware().FlatImage(), data);
    EXPECT_EQ(h.model.EscFirmware().ChecksumFailures(), 0u);
    EXPECT_EQ(h.model.EscUpdatesCompleted(), 1);
    EXPECT_EQ(h.Reply({0xD5}), (Bytes{0x26}));
}

TEST(EscLoader, ABadChecksumIsAnsweredDifferentlyAndNotProgrammed)
{
    ModelHarness h;
    EnterEscLoader(h);
    EXPECT_EQ(h.Reply({0x3A, 0x02, 0x00, 0x10, 0x00, 0xAB, 0xCD, 0x00}), (Bytes{0x02}));
    EXPECT_EQ(h.Reply({0x3A, 0x01, 0x00, 0x20, 0x00, 0x5A, 0x85}), (Bytes{0x01}));
    EXPECT_EQ(h.model.EscFirmware().ChecksumFailures(), 1u);
    EXPECT_EQ(h.model.EscFirmware().Image().size(), 1u);
    EXPECT_EQ(h.model.EscFirmware().Image().at(0x20), 0x5A);
}

TEST(EscLoader, HalfRecordIsDroppedAfterALongSilence)
{
    ModelHarness h;
    EnterEscLoader(h);
    h.Send({0x3A, 0x10, 0x00}, DeviceModel::kIdleResetMs);
    EXPECT_EQ(h.Reply({0xD6}), (Bytes{0xD7})) << "a fresh handshake is understood again";
}

// Only four 0xD6 back to back start the loader of a running ESC; the polls
// of FixMode, 150 ms apart, never do.
TEST(EscLoader, OnlyFourD6BackToBackStartTheLoader)
{
    ModelHarness h;
    for (int tick = 0; tick < 8; ++tick)
        EXPECT_EQ(h.Reply({0xD6}, 150), (Bytes{0x00})) << "tick " << tick;
    h.Send({0xD6}, 0);
    h.Send({0xD6}, 0);
    EXPECT_EQ(h.Send({0xD6}, DeviceModel::kD6QuietMs), (Bytes{0xD6, 0x00})) << "silence: the box answers";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(h.Send({0xD6}, 0), (Bytes{0xD6})) << "an answered 0xD6 starts a new count";
    EXPECT_EQ(h.Send({0xD6}, 0), (Bytes{0xD6, 0xD7}));
    EXPECT_EQ(h.model.Esc(), EscMode::Loader);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(h.Reply({0xD6}, 150), (Bytes{0xD7})) << "an ESC in its loader answers every probe";
}

TEST(BoxLoader, ABoxUpdateKeepsEveryBlockAndEndsOnTheEmptyBlock)
{
    const Bytes data = SampleFirmwareBytes(1000);
    ModelHarness h;
    EnterBoxLoader(h);
    const auto blocks = kel::test::XupBlocksOf(MakeXupText(data));
    ASSERT_EQ(blocks.size(), 1000 / kXupPayloadPerBlock + 2);
    for (const Bytes& block : blocks) {
        ASSERT_LE(block.size(), 130u);
        ASSERT_EQ(h.Reply(block), (Bytes{0x11}));
    }
    EXPECT_EQ(h.model.BoxFirmware().Image(), data);
    EXPECT_EQ(h.model.BoxFirmware().AcceptedBlocks().size(), blocks.size() - 1);
    EXPECT_EQ(h.model.Box(), BoxMode::Normal);
    EXPECT_EQ(h.model.BoxUpdatesCompleted(), 1);
    EXPECT_EQ(h.model.Esc(), EscMode::Application) << "the handshake's 0xD6 left the ESC alone";
    EXPECT_EQ(h.Reply({0xD4}), (Bytes{0xD1, 0x01}));

    DeviceOptions o;
    o.escInLoader = true;
    ModelHarness loader(o);
    EnterBoxLoader(loader);  // the handshake works with the ESC in its loader too
}

TEST(BoxLoader, ABlockWithAWrongCheckValueIsRefused)
{
    ModelHarness h;
    EnterBoxLoader(h);
    Bytes block = kel::test::XupBlocksOf(MakeXupText(SampleFirmwareBytes(10))).front();
    block[5] ^= 0x01;
    EXPECT_EQ(h.Reply(block), (Bytes{0x12}));
    EXPECT_EQ(h.Reply({0x00, 0x01, 0x42}), (Bytes{0x12})) << "too short to hold a check value";
    EXPECT_TRUE(h.model.BoxFirmware().AcceptedBlocks().empty());
}

TEST(BoxLoader, LeavesItsLoaderOnACommandOrAfterSilence)
{
    ModelHarness a;
    EnterBoxLoader(a);
    a.Reply(kel::test::XupBlocksOf(MakeXupText(SampleFirmwareBytes(10))).front());
    EXPECT_EQ(a.Reply({0xD4}), (Bytes{0xD1, 0x01}));
    EXPECT_EQ(a.model.Box(), BoxMode::Normal);

    ModelHarness b;
    EnterBoxLoader(b);
    b.Send({0x00}, DeviceModel::kIdleResetMs);  // a block that never comes whole
    EXPECT_EQ(b.Reply({0x00}), Bytes{}) << "the first byte of something new";
    EXPECT_EQ(b.model.Box(), BoxMode::Normal);
}

TEST(BoxLoader, HandshakeNeedsThreeD6AndTakesARepeatedProbe)
{
    ModelHarness h;
    h.Reply({0xD6}, 150);
    h.Reply({0xD6}, 150);
    EXPECT_EQ(h.Reply({0xD7}).size(), DeviceModel::kVersionReplySize) << "two 0xD6 make 0xD7 a version query";
    EXPECT_EQ(h.model.Box(), BoxMode::Normal);

    ModelHarness again;
    EnterBoxLoader(again);
    EXPECT_EQ(again.Reply({0xD6}), (Bytes{0xD7})) << "before the first block it is answered again";
    EXPECT_EQ(again.model.Box(), BoxMode::Loader);
}

}  // namespace
}  // namespace kel::sim::test
