// A 32 KiB firmware file flashed through kel-cli arrives whole: the ESC's
// loader rebuilds the file's image, the box's loader takes every block.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "SimSession.h"

namespace kel::e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kFirmwareBytes = 32 * 1024;

std::uint8_t HexByte(const std::string& text, std::size_t at)
{
    return static_cast<std::uint8_t>(std::stoul(text.substr(at, 2), nullptr, 16));
}

// The data of an Intel-HEX file by address (data and extended linear address
// records), read here independently of the program under test.
std::map<std::uint32_t, std::uint8_t> ZrvData(const std::string& text, std::size_t& records)
{
    std::map<std::uint32_t, std::uint8_t> data;
    std::uint32_t base = 0;
    std::istringstream lines(text);
    records = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() < 11 || line[0] != ':')
            continue;
        ++records;
        const std::size_t count = HexByte(line, 1);
        const std::uint32_t address = HexByte(line, 3) * 256u + HexByte(line, 5);
        const std::uint8_t type = HexByte(line, 7);
        if (type == 0x00) {
            for (std::size_t i = 0; i < count; ++i)
                data[base + address + static_cast<std::uint32_t>(i)] = HexByte(line, 9 + 2 * i);
        } else if (type == 0x04) {
            base = (HexByte(line, 9) * 256u + HexByte(line, 11)) << 16;
        }
    }
    return data;
}

// The blocks of a .xup file: big-endian length, then that many body bytes.
std::vector<Bytes> XupBlocks(const std::string& text)
{
    Bytes image;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        image.push_back(HexByte(text, i));
    std::vector<Bytes> blocks;
    for (std::size_t at = 0; at + 2 <= image.size();) {
        const std::size_t length = image[at] * 256u + image[at + 1];
        blocks.emplace_back(image.begin() + static_cast<long>(at + 2),
                            image.begin() + static_cast<long>(std::min(image.size(), at + 2 + length)));
        at += 2 + length;
    }
    return blocks;
}

TEST(FirmwareRoundTrip, FlashedZrvIsTheImageTheEscLoaderRebuilt)
{
    SimSession sim({});
    ASSERT_NE(sim.Port(), "");
    const std::string file = sim.SampleFirmware("esc.zrv", kFirmwareBytes);
    std::size_t records = 0;
    const auto fileData = ZrvData(ReadWholeFile(file), records);
    ASSERT_EQ(fileData.size(), kFirmwareBytes);

    const RunResult flash = sim.Cli({"flash-esc", file});
    EXPECT_EQ(flash.exitCode, 0) << flash.err;
    EXPECT_NE(flash.err.find("\nUpdated successfully!\n"), std::string::npos) << flash.err;

    const SimReport report = sim.StopAndReport();
    Bytes fileImage;
    for (const auto& [address, value] : fileData) {
        ASSERT_EQ(address, fileImage.size()) << "the sample file has no gaps";
        fileImage.push_back(value);
    }
    EXPECT_EQ(report.Number("esc-image-address"), 0u);
    EXPECT_EQ(report.Bytes("esc-image"), fileImage);
    EXPECT_EQ(report.Number("esc-records"), records);
    EXPECT_EQ(report.Number("esc-checksum-failures"), 0u);
    EXPECT_EQ(report.Number("esc-updates"), 1u);
    EXPECT_EQ(report.Value("esc-mode"), "application") << "the end record restarts the ESC";
}

TEST(FirmwareRoundTrip, FlashedXupBlocksAreAllAcceptedByTheBox)
{
    SimSession sim({});
    ASSERT_NE(sim.Port(), "");
    const std::string file = sim.SampleFirmware("box.xup", kFirmwareBytes);
    std::vector<Bytes> blocks = XupBlocks(ReadWholeFile(file));
    ASSERT_GT(blocks.size(), 2u);
    ASSERT_TRUE(blocks.back().empty()) << "the file ends with a block of length 0";
    blocks.pop_back();  // it ends the transfer instead of being kept

    const RunResult flash = sim.Cli({"flash-box", file});
    EXPECT_EQ(flash.exitCode, 0) << flash.err;
    EXPECT_NE(flash.err.find("\nUpdated successfully!\n"), std::string::npos) << flash.err;

    const SimReport report = sim.StopAndReport();
    EXPECT_EQ(report.BoxBlocks(), blocks);
    EXPECT_EQ(report.Number("box-blocks"), blocks.size());
    EXPECT_EQ(report.Value("box-transfer-ended"), "yes");
    EXPECT_EQ(report.Number("box-updates"), 1u);
    std::size_t payload = 0;
    for (const Bytes& b : blocks)
        payload += b.size() - 2;
    EXPECT_EQ(payload, kFirmwareBytes);
}

}  // namespace
}  // namespace kel::e2e
