#include <gtest/gtest.h>

#include <algorithm>

#include "update/FirmwareCheck.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

using namespace std::string_literals;

constexpr const char* kGoodZrv = ":0300000002000AF1\r\n:00000001FF\r\n";
constexpr const char* kGoodXup = "0003AABBCC0001DD\r\n";

std::string Dump(const CheckReport& report)
{
    std::string all;
    for (const auto& f : report.findings)
        all += FormatFinding(f) + "\n";
    return all;
}

bool HasError(const CheckReport& report, std::size_t line, const std::string& part)
{
    return std::any_of(report.findings.begin(), report.findings.end(), [&](const CheckFinding& f) {
        return f.severity == Severity::Error && f.line == line && FormatFinding(f).find(part) != std::string::npos;
    });
}

// Each problem is found on its line (0: about the whole file) and blocks
// flashing; a .xup error is placed in the file and in the image too.
TEST(FirmwareCheck, ProblemsAreFoundOnTheirLinesAndBlockFlashing)
{
    const struct {
        CheckReport (*check)(std::string_view);
        std::string text;
        std::size_t line;
        const char* part;
    } problems[] = {
        {CheckZrv, ":0300000002000af1\n:00000001FF\n", 1, "2 lower-case hex digits (first 'a' at column 15)"},
        {CheckZrv, ":0300000002000AF\n:00000001FF\n", 1, "odd number of hex digits (15)"},
        {CheckZrv, ":G300000002000AF1\n:00000001FF\n", 1, "(first 'G' at column 2)"},
        {CheckZrv, ":03000000020\0\0AF1\n:00000001FF\n"s, 1, "2 characters are not hex digits (first 0x00"},
        {CheckZrv, "X0300000002000AF1\n:00000001FF\n", 1, "does not start with a colon"},
        {CheckZrv, ":0400000002000AF1\n:00000001FF\n", 1, "says 4 data bytes, so 18 hex digits"},
        {CheckZrv, ":0300000002000AF2\n:00000001FF\n", 1, "checksum 0xF2 is wrong: the record's bytes call for 0xF1"},
        {CheckZrv, ":0300000002000AF1\n\n:00000001FF\n", 2, "empty line"},
        {CheckZrv, ":0300000002000AF1 \n:00000001FF\n", 1,
         "1 character is not a hex digit (first a space at column 18)"},
        {CheckZrv, ":0300000002000AF1\r:00000001FF\r", 1, "(first CR at column 18)"},
        {CheckZrv, ":00\n:00000001FF\n", 1, "too short for a record"},
        {CheckZrv, ":00000006FA\n:00000001FF\n", 1, "unknown record type 0x06"},
        {CheckZrv, ":01000001AA54\n", 1, "end-of-file record carries data"},
        {CheckZrv, ":0300000002000AF1\n", 0, "no end-of-file record"},
        {CheckZrv, ":00000001FF\n:0300000002000AF1\n", 1, "not the last record: 1 line follows"},
        {CheckZrv, "", 0, "holds no records"},
        {CheckXup, "0003aabbcc0001DD", 1, "6 lower-case hex digits (first 'a')"},
        {CheckXup, "0003AAxBCC0001DD", 1,
         "line 1, byte 0x6, image offset 0x3: error: 1 character that is no hex digit (first 'x')"},
        {CheckXup, "0003AABB\r\nCC0001DD", 1, "line 1, byte 0x8, image offset 0x4: error: a line end inside the data"},
        {CheckXup, "0003AABBCC0001DD7", 1, "lone last character '7'"},
        {CheckXup, "0005AABB", 0, "states 5 bytes but only 2 follow"},
        {CheckXup, "0001DD\n\n", 0, "stray byte"},
        {CheckXup, "FFFE" + std::string(65534 * 2, '5') + "00", 0,
         "has 65537 bytes; the program box takes at most 65536"},
        {CheckXup, "", 0, "holds no data"}};
    for (const auto& p : problems) {
        const CheckReport report = p.check(p.text);
        EXPECT_TRUE(HasError(report, p.line, p.part)) << Dump(report);
        EXPECT_FALSE(report.Flashable()) << p.part;
    }
}

// Twenty errors of a kind are listed and the rest counted; a refusal names the
// first error and counts every other.
TEST(FirmwareCheck, ErrorsBeyondTwentyAreCounted)
{
    std::string badLines, emptyBlocks;
    for (int i = 0; i < 30; ++i) {
        badLines += "00x0\n";
        emptyBlocks += "0000";
    }
    const CheckReport report = CheckXup(badLines);
    const auto listed = std::count_if(report.findings.begin(), report.findings.end(), [](const CheckFinding& f) {
        return f.message.find("line end inside") != std::string::npos;
    });
    EXPECT_EQ(listed, 20);
    EXPECT_TRUE(HasError(report, 0, "and 10 more line ends inside the data")) << Dump(report);
    EXPECT_TRUE(HasError(report, 0, "and 10 more lines with characters read as 0")) << Dump(report);

    EXPECT_FALSE(FirmwareRefusal(CheckZrv(kGoodZrv)));
    const auto refusal = FirmwareRefusal(CheckXup(emptyBlocks + "0001DD"));
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(refusal->starts_with("image offset 0x0: error: an empty block before the last")) << *refusal;
    EXPECT_TRUE(refusal->ends_with("(and 29 more errors)")) << *refusal;
}

TEST(CheckFirmwareFile, GoodFilesFlash_KindFollowsTheExtensionInAnyCase_UnknownOrUnreadableDoesNot)
{
    const test::TempFolder folder{"kel-check"};
    const CheckReport zrv = CheckFirmwareFile(folder.Write("a.ZRV", std::string(kGoodZrv)));
    EXPECT_EQ(zrv.kind, FirmwareKind::Zrv);
    for (const CheckReport& good : {zrv, CheckFirmwareFile(folder.Write("b.xup", std::string(kGoodXup)))}) {
        EXPECT_TRUE(good.Flashable()) << Dump(good);
        for (const auto& f : good.findings)
            EXPECT_EQ(f.severity, Severity::Info) << FormatFinding(f);  // notes only
    }
    EXPECT_EQ(FirmwareKindOf("dir.zrv/firmware"), FirmwareKind::Unknown);

    const CheckReport other = CheckFirmwareFile(folder.Write("a.hex", std::string(kGoodZrv)));
    EXPECT_EQ(other.kind, FirmwareKind::Unknown);
    EXPECT_FALSE(other.Flashable());
    EXPECT_TRUE(HasError(other, 0, ".zrv")) << Dump(other);
    const CheckReport missing = CheckFirmwareFile(folder.Path("gone.xup"));
    EXPECT_FALSE(missing.readable);
    EXPECT_EQ(missing.kind, FirmwareKind::Xup);  // what the name says, though unread
    EXPECT_FALSE(missing.Flashable());
}

}  // namespace
}  // namespace kel
