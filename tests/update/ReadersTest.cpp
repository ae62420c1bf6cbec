#include <gtest/gtest.h>

#include "update/XupFile.h"
#include "update/ZrvFile.h"

namespace kel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RecordCase {
    const char* line;
    Bytes record;
};

class ZrvRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ZrvRecordTest, LineBecomesRecord)
{
    EXPECT_EQ(ZrvRecord(GetParam().line), GetParam().record);
    EXPECT_EQ(ZrvRecordLength(GetParam().line), GetParam().record.size());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ZrvRecordTest,
    ::testing::Values(RecordCase{":0300000002000AF1", {0x3A, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0A, 0xF1}},
                      RecordCase{":00000001FF", {0x3A, 0x00, 0x00, 0x00, 0x01, 0xFF}},
                      // Lower-case letters count 0, upper-case A-F count 10-15.
                      RecordCase{":0a0A", {0x3A, 0x00, 0x0A}}, RecordCase{":fF", {0x3A, 0x0F}},
                      // The first character is always sent as the colon.
                      RecordCase{"X12", {0x3A, 0x12}},
                      // An even-length line loses its last character.
                      RecordCase{":123", {0x3A, 0x12}},
                      // A colon alone, or with one digit, is the record 0x3A; an empty line is nothing.
                      RecordCase{":", {0x3A}}, RecordCase{":7", {0x3A}}, RecordCase{"", {}}));

// LF and CR LF end lines and are not part of them; a lone CR stays in the
// line, and a final line end adds no line.
TEST(ZrvLines, SplitAtLineEndsAndTotalled)
{
    const struct {
        const char* text;
        std::vector<std::string> lines;
        int total;
    } cases[] = {{":01\r\n:0203\n\n:04", {":01", ":0203", "", ":04"}, 2 + 3 + 0 + 2},
                 {":01\r:02\n", {":01\r:02"}, 4},
                 {":01\r\r\n", {":01\r"}, 2},
                 {"", {}, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ZrvLines(c.text), c.lines) << c.text;
        EXPECT_EQ(ZrvTotal(ZrvLines(c.text)), c.total) << c.text;
    }
}

struct ImageCase {
    const char* name;
    std::string text;
    Bytes image;
};

void PrintTo(const ImageCase& c, std::ostream* os)
{
    *os << c.name;
}

class XupImageTest : public ::testing::TestWithParam<ImageCase> {};

TEST_P(XupImageTest, TextBecomesImage)
{
    EXPECT_EQ(XupImage(GetParam().text), GetParam().image);
}

INSTANTIATE_TEST_SUITE_P(
    Files, XupImageTest,
    ::testing::Values(ImageCase{"Pairs", "0003AABBCC", {0x00, 0x03, 0xAA, 0xBB, 0xCC}}, ImageCase{"Empty", "", {}},
                      ImageCase{"LoneLastCharacterDropped", "7F1", {0x7F}},
                      ImageCase{"LowerCaseCountsZero", "7f", {0x70}},
                      // A line end inside a pair counts 0 and shifts every following pair.
                      ImageCase{"LfInsidePair", "A\nBCD", {0xA0, 0xBC}},
                      // CR LF reads as one character, so it shifts by one, not two.
                      ImageCase{"CrLfIsOneCharacter", "A\r\nBCD", {0xA0, 0xBC}},
                      ImageCase{"TrailingCrLfIsALoneCharacter", "ABCD\r\n", {0xAB, 0xCD}},
                      ImageCase{"TwoTrailingLineEndsMakeAZeroByte", "ABCD\n\n", {0xAB, 0xCD, 0x00}}),
    [](const auto& info) { return std::string(info.param.name); });

// Length-prefixed blocks, big-endian; the walk ends at the first that overruns.
TEST(XupBlocks, WalksLengthPrefixedBlocksBigEndian)
{
    Bytes image{0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x00, 0x01, 0x00};
    image.resize(5 + 2 + 2 + 0x100);
    const auto blocks = XupBlocks(image);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].offset, 0u);
    EXPECT_EQ(blocks[0].size, 5u);
    EXPECT_EQ(blocks[1].offset, 5u);
    EXPECT_EQ(blocks[1].size, 2u);
    EXPECT_EQ(blocks[2].offset, 7u);
    EXPECT_EQ(blocks[2].bodyLength, 0x100u);
    EXPECT_FALSE(blocks[2].overruns);
    for (const Bytes& overrun : {Bytes{0x00, 0x01, 0xAA, 0x00, 0x05, 0x01}, Bytes{0x00, 0x01, 0xAA, 0x07}}) {
        const auto walked = XupBlocks(overrun);
        ASSERT_EQ(walked.size(), 2u);
        EXPECT_TRUE(walked[1].overruns);
        EXPECT_EQ(walked[1].offset, 3u);
    }
}

}  // namespace
}  // namespace kel
