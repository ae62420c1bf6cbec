#include <gtest/gtest.h>

#include "update/XupFile.h"
#include "update/ZrvFile.h"

namespace kel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ZrvRecord, LineBecomesRecord)
{
    const struct {
        const char* line;
        Bytes record;
    } cases[] = {{":0300000002000AF1", {0x3A, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0A, 0xF1}},
                 {":00000001FF", {0x3A, 0x00, 0x00, 0x00, 0x01, 0xFF}},
                 // Upper-case A-F count 10-15; lower-case letters and other characters count 0.
                 {":0a0A", {0x3A, 0x00, 0x0A}},
                 {":fFG9", {0x3A, 0x0F, 0x09}},
                 // The first character is always sent as the colon.
                 {"X12", {0x3A, 0x12}},
                 // An even-length line loses its last character.
                 {":123", {0x3A, 0x12}},
                 // A colon alone, or with one digit, is the record 0x3A; an empty line is nothing.
                 {":", {0x3A}},
                 {":7", {0x3A}},
                 {"", {}}};
    for (const auto& c : cases) {
        EXPECT_EQ(ZrvRecord(c.line), c.record) << c.line;
        EXPECT_EQ(ZrvRecordLength(c.line), c.record.size()) << c.line;
    }
}

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

TEST(XupImage, TextBecomesImage)
{
    const struct {
        std::string text;
        Bytes image;
    } cases[] = {{"0003AABBCC", {0x00, 0x03, 0xAA, 0xBB, 0xCC}},
                 {"", {}},
                 {"7F1", {0x7F}},  // a lone last character is dropped
                 {"7f", {0x70}},   // lower case counts 0
                 // A line end inside a pair counts 0 and shifts every following pair;
                 // CR LF reads as one character, so it shifts by one, not two.
                 {"A\nBCD", {0xA0, 0xBC}},
                 {"A\r\nBCD", {0xA0, 0xBC}},
                 {"ABCD\r\n", {0xAB, 0xCD}},  // a trailing CR LF is a lone character
                 {"ABCD\n\n", {0xAB, 0xCD, 0x00}}};
    for (const auto& c : cases)
        EXPECT_EQ(XupImage(c.text), c.image) << c.text;
}

// The walk is checked against a reference by the fuzz replay (tests/fuzz);
// its corpus has no block whose length field itself is cut.
TEST(XupBlocks, ABlockWithItsLengthCutOverrunsWithLengthZero)
{
    const auto blocks = XupBlocks({0x00, 0x01, 0xAA, 0x07});
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].offset, 3u);
    EXPECT_EQ(blocks[1].bodyLength, 0u);
    EXPECT_TRUE(blocks[1].overruns);
}

}  // namespace
}  // namespace kel
