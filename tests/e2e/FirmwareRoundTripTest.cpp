// 32 KiB firmware files flashed through kel-cli arrive whole: the ESC's loader
// rebuilds the .zrv file's image, the box's loader takes every .xup block.
#include <gtest/gtest.h>

#include "SimSession.h"
#include "support/HexText.h"

namespace kel::e2e {
namespace {

TEST(FirmwareRoundTrip, FlashedFilesAreWhatTheLoadersTook)
{
    constexpr std::size_t kBytes = 32 * 1024;
    SimSession sim({});
    ASSERT_NE(sim.Port(), "");
    const std::string zrv = sim.SampleFirmware("esc.zrv", kBytes), xup = sim.SampleFirmware("box.xup", kBytes);
    // The file's data records, read here on their own: their bytes in a row
    // from address 0, no extended addresses needed at this size.
    Bytes image;
    std::size_t records = 0;
    std::istringstream lines(ReadWholeFile(zrv));
    for (std::string line; std::getline(lines, line); ++records) {
        if (test::HexByte(line, 7) != 0x00)
            continue;
        ASSERT_EQ(test::HexByte(line, 3) * 256u + test::HexByte(line, 5), image.size()) << line;
        for (std::size_t i = 0; i < test::HexByte(line, 1); ++i)
            image.push_back(test::HexByte(line, 9 + 2 * i));
    }
    ASSERT_EQ(image.size(), kBytes);
    std::vector<Bytes> blocks = test::XupBlocksOf(ReadWholeFile(xup));
    ASSERT_EQ(blocks.back(), (Bytes{0, 0})) << "the file ends with a block of length 0, which is not kept";
    blocks.pop_back();
    std::size_t payload = 0;
    for (Bytes& b : blocks) {
        b.erase(b.begin(), b.begin() + 2);  // the length field
        payload += b.size() - 2;            // less the block check
    }
    ASSERT_EQ(payload, kBytes);

    for (const std::string command : {"flash-esc", "flash-box"}) {
        const RunResult flash = sim.Cli({command, command == "flash-esc" ? zrv : xup});
        EXPECT_EQ(flash.exitCode, 0) << flash.err;
        EXPECT_NE(flash.err.find("\nUpdated successfully!\n"), std::string::npos) << flash.err;
    }
    const SimReport report = sim.StopAndReport();
    EXPECT_EQ(report.Number("esc-image-address"), 0u);
    EXPECT_EQ(report.BytesOf("esc-image"), image);
    EXPECT_EQ(report.Number("esc-records"), records);
    EXPECT_EQ(report.Number("esc-checksum-failures"), 0u);
    EXPECT_EQ(report.Number("esc-updates"), 1u);
    EXPECT_EQ(report.Value("esc-mode"), "application") << "the end record restarts the ESC";
    EXPECT_EQ(report.boxBlocks, blocks);
    EXPECT_EQ(report.Number("box-blocks"), blocks.size());
    EXPECT_EQ(report.Value("box-transfer-ended"), "yes");
    EXPECT_EQ(report.Number("box-updates"), 1u);
}

}  // namespace
}  // namespace kel::e2e
