// The offline firmware check over arbitrary bytes, read both as a .zrv and
// as a .xup file. Besides not crashing, a file it calls flashable must be
// one the updater sends as its author meant.
#include "FuzzSupport.h"
#include "update/FirmwareCheck.h"
#include "update/XupFile.h"
#include "update/ZrvFile.h"

namespace {

void CheckReportShape(const kel::CheckReport& report, kel::FirmwareKind kind)
{
    KEL_FUZZ_CHECK(report.kind == kind && report.readable);
    KEL_FUZZ_CHECK(report.Flashable()
                   == std::none_of(report.findings.begin(), report.findings.end(),
                                   [](const auto& f) { return f.severity == kel::Severity::Error; }));
    for (const kel::CheckFinding& f : report.findings) {
        KEL_FUZZ_CHECK(!f.message.empty());
        KEL_FUZZ_CHECK(kel::FormatFinding(f).ends_with(f.message));
    }
}

constexpr auto IsUpperHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };

// Every line a complete Intel-HEX record with the right length and
// checksum, upper-case digits only, ending in the end-of-file record.
void CheckFlashableZrv(std::string_view bytes)
{
    const std::vector<std::string> lines = kel::ZrvLines(bytes);
    KEL_FUZZ_CHECK(!lines.empty());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        KEL_FUZZ_CHECK(line.size() >= 11 && line.size() % 2 == 1 && line[0] == ':');
        KEL_FUZZ_CHECK(std::all_of(line.begin() + 1, line.end(), IsUpperHex));
        const std::vector<std::uint8_t> record = kel::ZrvRecord(line);
        KEL_FUZZ_CHECK(record.size() == std::size_t{record[1]} + 6u);
        unsigned sum = 0;
        for (std::size_t k = 1; k < record.size(); ++k)
            sum += record[k];
        KEL_FUZZ_CHECK((sum & 0xFFu) == 0 && record[4] <= 5);
        const bool endOfFile = record[4] == 1;
        KEL_FUZZ_CHECK(endOfFile == (i + 1 == lines.size()) && (!endOfFile || record[1] == 0));
    }
}

// Every block reaches the box whole (nothing cut, none too long for the
// echo window, no empty block before the last), the image fits the box and is
// not empty, and no character is read as 0 where the author wrote something else.
void CheckFlashableXup(std::string_view bytes)
{
    const std::vector<std::uint8_t> image = kel::XupImage(bytes);
    KEL_FUZZ_CHECK(!image.empty() && image.size() <= kel::kXupMaxImage);
    const std::vector<kel::XupBlock> blocks = kel::XupBlocks(image);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        KEL_FUZZ_CHECK(!blocks[i].overruns && blocks[i].size <= kel::kXupMaxBlockBytes);
        KEL_FUZZ_CHECK(blocks[i].bodyLength > 0 || i + 1 == blocks.size());
    }
    const std::string text = kel::fuzz::ReferenceTextMode(bytes);
    KEL_FUZZ_CHECK(std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(image.size() * 2), IsUpperHex));
    KEL_FUZZ_CHECK(text.size() % 2 == 0 || text.back() == '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = kel::fuzz::AsText(data, size);
    const kel::CheckReport zrv = kel::CheckZrv(bytes);
    CheckReportShape(zrv, kel::FirmwareKind::Zrv);
    // Findings come in file order; those about the whole file last.
    KEL_FUZZ_CHECK(std::is_sorted(zrv.findings.begin(), zrv.findings.end(), [](const auto& a, const auto& b) {
        return (a.line == 0 ? SIZE_MAX : a.line) < (b.line == 0 ? SIZE_MAX : b.line);
    }));
    if (zrv.Flashable())
        CheckFlashableZrv(bytes);

    const kel::CheckReport xup = kel::CheckXup(bytes);
    CheckReportShape(xup, kel::FirmwareKind::Xup);
    if (xup.Flashable())
        CheckFlashableXup(bytes);
    return 0;
}
