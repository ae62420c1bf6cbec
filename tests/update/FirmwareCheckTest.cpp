#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "update/FirmwareCheck.h"
#include "update/XupFile.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

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
        return f.severity == Severity::Error && f.line == line && f.message.find(part) != std::string::npos;
    });
}

TEST(FirmwareCheck, GoodFilesFlashWithOnlyNotes)
{
    for (const CheckReport& report : {CheckZrv(kGoodZrv), CheckXup(kGoodXup)}) {
        EXPECT_TRUE(report.Flashable()) << Dump(report);
        for (const auto& f : report.findings)
            EXPECT_EQ(f.severity, Severity::Info) << FormatFinding(f);
    }
}

struct Problem {
    const char* name;
    std::string text;
    std::size_t line;  // 0: about the whole file
    const char* part;
};

void PrintTo(const Problem& p, std::ostream* os)
{
    *os << p.name;
}

class ZrvProblemTest : public ::testing::TestWithParam<Problem> {};

TEST_P(ZrvProblemTest, FoundOnItsLineAndBlocksFlashing)
{
    const CheckReport report = CheckZrv(GetParam().text);
    EXPECT_TRUE(HasError(report, GetParam().line, GetParam().part)) << Dump(report);
    EXPECT_FALSE(report.Flashable());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ZrvProblemTest,
    ::testing::Values(
        Problem{"LowerCase", ":0300000002000af1\n:00000001FF\n", 1, "2 lower-case hex digits (first 'a' at column 15)"},
        Problem{"OddDigitCount", ":0300000002000AF\n:00000001FF\n", 1, "odd number of hex digits (15)"},
        Problem{"FirstDigitNotHex", ":G300000002000AF1\n:00000001FF\n", 1, "(first 'G' at column 2)"},
        Problem{"NoColon", "X0300000002000AF1\n:00000001FF\n", 1, "does not start with a colon"},
        Problem{"LengthFieldDisagrees", ":0400000002000AF1\n:00000001FF\n", 1, "says 4 data bytes, so 18 hex digits"},
        Problem{"BadChecksum", ":0300000002000AF2\n:00000001FF\n", 1,
                "checksum 0xF2 is wrong: the record's bytes call for 0xF1"},
        Problem{"EmptyLine", ":0300000002000AF1\n\n:00000001FF\n", 2, "empty line"},
        Problem{"TrailingSpace", ":0300000002000AF1 \n:00000001FF\n", 1,
                "1 character is not a hex digit (first a space at column 18)"},
        Problem{"CrOnlyLineEnds", ":0300000002000AF1\r:00000001FF\r", 1, "(first CR at column 18)"},
        Problem{"TooShort", ":00\n:00000001FF\n", 1, "too short for a record"},
        Problem{"UnknownType", ":00000006FA\n:00000001FF\n", 1, "unknown record type 0x06"},
        Problem{"EndRecordWithData", ":01000001AA54\n", 1, "end-of-file record carries data"},
        Problem{"NoEndRecord", ":0300000002000AF1\n", 0, "no end-of-file record"},
        Problem{"EndRecordNotLast", ":00000001FF\n:0300000002000AF1\n", 1, "not the last record: 1 line follows"},
        Problem{"EmptyFile", "", 0, "holds no records"}),
    [](const auto& info) { return std::string(info.param.name); });

class XupProblemTest : public ::testing::TestWithParam<Problem> {};

TEST_P(XupProblemTest, FoundAndBlocksFlashing)
{
    const CheckReport report = CheckXup(GetParam().text);
    EXPECT_TRUE(HasError(report, GetParam().line, GetParam().part)) << Dump(report);
    EXPECT_FALSE(report.Flashable());
}

INSTANTIATE_TEST_SUITE_P(
    Files, XupProblemTest,
    ::testing::Values(Problem{"LowerCase", "0003aabbcc0001DD", 1, "6 lower-case hex digits (first 'a')"},
                      Problem{"NonHex", "0003AAxBCC0001DD", 1, "1 character that is no hex digit (first 'x')"},
                      Problem{"LineEndInsideData", "0003AABB\r\nCC0001DD", 1, "line end inside the data"},
                      Problem{"LoneLastDigit", "0003AABBCC0001DD7", 1, "lone last character '7'"},
                      Problem{"BlockRunsPastEnd", "0005AABB", 0, "states 5 bytes but only 2 follow"},
                      Problem{"StrayByteFromTwoLineEnds", "0001DD\n\n", 0, "stray byte"},
                      Problem{"TooLarge", "FFFE" + std::string(65534 * 2, '5') + "0000", 0, "at most 65536"},
                      Problem{"Empty", "", 0, "holds no data"}),
    [](const auto& info) { return std::string(info.param.name); });

// A line end (the CR of CR LF) and a character that is no hex digit, placed
// in the file and in the image (the first character of the fifth or fourth pair).
TEST(XupCheck, ErrorsArePlacedInFileAndImage)
{
    const struct {
        const char* text;
        const char* prefix;
    } cases[] = {{"0003AABB\r\nCC0001DD", "line 1, byte 0x8, image offset 0x4: error: a line end"},
                 {"0003AAxBCC0001DD", "line 1, byte 0x6, image offset 0x3: error: "}};
    for (const auto& c : cases) {
        const CheckReport report = CheckXup(c.text);
        ASSERT_FALSE(report.findings.empty());
        EXPECT_EQ(FormatFinding(report.findings[0]).rfind(c.prefix, 0), 0u) << Dump(report);
    }
}

TEST(XupCheck, ManyBadLinesAreCountedBeyondTwenty)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "00x0\n";
    const CheckReport report = CheckXup(text);
    const auto listed = std::count_if(report.findings.begin(), report.findings.end(), [](const CheckFinding& f) {
        return f.message.find("line end inside") != std::string::npos;
    });
    EXPECT_EQ(listed, 20);
    EXPECT_TRUE(HasError(report, 0, "and 10 more line ends inside the data")) << Dump(report);
    EXPECT_TRUE(HasError(report, 0, "and 10 more lines with characters read as 0")) << Dump(report);
}

TEST(FirmwareRefusal, NamesTheFirstErrorAndCountsEveryOther)
{
    EXPECT_FALSE(FirmwareRefusal(CheckZrv(":0300000002000AF1\n:00000001FF\n")));
    // 30 empty blocks before the last: 20 listed, the other 10 in one finding.
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "0000";
    const auto refusal = FirmwareRefusal(CheckXup(text + "0001DD"));
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(refusal->starts_with("image offset 0x0: error: an empty block before the last")) << *refusal;
    EXPECT_TRUE(refusal->ends_with("(and 29 more errors)")) << *refusal;
}

TEST(XupCheck, BlocksThatCannotReachTheBoxWholeAreErrors)
{
    // The box ends the transfer at an empty block; the one after it never arrives.
    const CheckReport empty = CheckXup("00000001DD");
    EXPECT_FALSE(empty.Flashable()) << Dump(empty);
    EXPECT_TRUE(std::any_of(empty.findings.begin(), empty.findings.end(), [](const CheckFinding& f) {
        return f.severity == Severity::Error && f.imageOffset == 0u;
    }));
    // 300 ms of echo at 0.52 ms a byte, less the byte the echo lags behind.
    EXPECT_EQ(kXupMaxBlockBytes, 575u);
    const std::string longest = "023D" + std::string(573 * 2, '5') + "0000";
    EXPECT_TRUE(CheckXup(longest).Flashable()) << Dump(CheckXup(longest));
    const CheckReport tooLong = CheckXup("023E" + std::string(574 * 2, '5') + "0000");
    EXPECT_FALSE(tooLong.Flashable());
}

class CheckFileTest : public ::testing::Test {
protected:
    test::TempFolder folder{"kel-check"};
    const std::filesystem::path dir = folder.Dir();
    std::string Write(const std::string& name, const std::string& content) { return folder.Write(name, content); }
};

TEST_F(CheckFileTest, KindFollowsTheExtensionInAnyCase_UnknownOrUnreadableDoesNotFlash)
{
    EXPECT_EQ(CheckFirmwareFile(Write("a.ZRV", kGoodZrv)).kind, FirmwareKind::Zrv);
    EXPECT_TRUE(CheckFirmwareFile(Write("a.ZRV", kGoodZrv)).Flashable());
    EXPECT_TRUE(CheckFirmwareFile(Write("b.xup", kGoodXup)).Flashable());
    EXPECT_EQ(FirmwareKindOf("dir.zrv/firmware"), FirmwareKind::Unknown);

    const CheckReport other = CheckFirmwareFile(Write("a.hex", kGoodZrv));
    EXPECT_EQ(other.kind, FirmwareKind::Unknown);
    EXPECT_FALSE(other.Flashable());
    EXPECT_TRUE(HasError(other, 0, ".zrv")) << Dump(other);
    const CheckReport missing = CheckFirmwareFile((dir / "gone.zrv").string());
    EXPECT_FALSE(missing.readable);
    EXPECT_FALSE(missing.Flashable());
    EXPECT_FALSE(CheckFirmwareFile(dir.string() + "/.zrv").readable);
}

}  // namespace
}  // namespace kel
