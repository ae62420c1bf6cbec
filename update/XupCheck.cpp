// Check of a program box firmware file: characters the updater would read as
// 0, line ends that shift the digit pairs, and the block walk of the image.
#include <string>
#include <vector>

#include "CheckSupport.h"
#include "FirmwareCheck.h"
#include "XupFile.h"

namespace kel {

namespace {

using check::Describe;
using check::Plural;

// Beyond this many findings of one kind the rest is counted, not listed.
constexpr std::size_t kListedPerKind = 20;

struct TextChar {
    char c;
    std::size_t fileOffset;
};

// The text-mode characters with the file offset each starts at (CR LF is one "\n").
std::vector<TextChar> TextModeChars(std::string_view bytes)
{
    std::vector<TextChar> chars;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            chars.push_back({'\n', i});
            ++i;
        } else {
            chars.push_back({bytes[i], i});
        }
    }
    return chars;
}

class CappedList {
public:
    CappedList(CheckReport& report, const char* moreWhat, Severity severity = Severity::Error)
        : report_(report)
        , moreWhat_(moreWhat)
        , severity_(severity)
    {}
    void Add(CheckFinding finding)
    {
        if (count_++ < kListedPerKind)
            report_.findings.push_back(std::move(finding));
    }
    void Close()
    {
        if (count_ > kListedPerKind)
            report_.findings.push_back({severity_,
                                        0,
                                        {},
                                        {},
                                        "and " + std::to_string(count_ - kListedPerKind) + " more " + moreWhat_,
                                        count_ - kListedPerKind});
    }

private:
    CheckReport& report_;
    const char* moreWhat_;
    Severity severity_;
    std::size_t count_ = 0;
};

// Non-digits of one line, reported together.
struct LineRun {
    std::size_t lower = 0, other = 0;
    std::optional<std::size_t> first;  // index into the characters
};

void CheckCharacters(CheckReport& report, const std::vector<TextChar>& chars, std::size_t pairChars)
{
    CappedList lineEnds(report, "line ends inside the data");
    CappedList badLines(report, "lines with characters read as 0");
    std::size_t line = 1;
    LineRun run;
    auto flush = [&] {
        if (!run.first)
            return;
        const TextChar& f = chars[*run.first];
        std::string what;
        if (run.lower > 0)
            what = Plural(run.lower, "lower-case hex digit", "lower-case hex digits");
        if (run.other > 0)
            what += (what.empty() ? "" : " and ")
                    + Plural(run.other, "character that is no hex digit", "characters that are no hex digits");
        badLines.Add({Severity::Error, line, f.fileOffset, *run.first / 2,
                      what + " (first " + Describe(f.c) + ") would be read as 0"
                          + (run.lower > 0 ? ": write A-F in upper case" : "")});
        run = {};
    };
    for (std::size_t i = 0; i < pairChars; ++i) {
        const char c = chars[i].c;
        if (c == '\n') {
            flush();
            lineEnds.Add({Severity::Error, line, chars[i].fileOffset, i / 2,
                          "a line end inside the data is read as a character of value 0, "
                          "and every digit after it pairs up one place later"});
            ++line;
        } else if (!check::IsUpperHexDigit(c)) {
            ++(check::IsLowerHexLetter(c) ? run.lower : run.other);
            if (!run.first)
                run.first = i;
        }
    }
    flush();
    lineEnds.Close();
    badLines.Close();

    if (chars.size() > pairChars) {
        const TextChar& last = chars.back();
        if (last.c == '\n')
            report.findings.push_back({Severity::Info,
                                       line,
                                       last.fileOffset,
                                       {},
                                       "the final line end is a lone last character and is dropped (harmless)"});
        else
            report.findings.push_back(
                {Severity::Error,
                 line,
                 last.fileOffset,
                 {},
                 "lone last character " + Describe(last.c) + " is dropped: the data has an odd number of digits"});
    }
}

void CheckBlocks(CheckReport& report, const std::vector<std::uint8_t>& image)
{
    if (image.empty()) {
        report.findings.push_back(
            {Severity::Error, 0, {}, {}, "the file holds no data: the update would send nothing and report success"});
        return;
    }
    if (image.size() > kXupMaxImage)
        report.findings.push_back({Severity::Error,
                                   0,
                                   {},
                                   {},
                                   "the image has " + std::to_string(image.size())
                                       + " bytes; the program box takes at most " + std::to_string(kXupMaxImage)});
    const std::vector<XupBlock> blocks = XupBlocks(image);
    CappedList emptyBlocks(report, "empty blocks before the last");
    CappedList longBlocks(report, "blocks too long to reach the box");
    for (const XupBlock& b : blocks) {
        const std::size_t left = image.size() - b.offset;
        const bool last = &b == &blocks.back();
        if (b.overruns && left < 2)
            report.findings.push_back(
                {Severity::Error, 0, {}, b.offset, "a stray byte at the end where a block should start"});
        else if (b.overruns)
            report.findings.push_back({Severity::Error,
                                       0,
                                       {},
                                       b.offset,
                                       "the block states " + Plural(b.bodyLength, "byte", "bytes") + " but only "
                                           + std::to_string(left - 2) + " follow: it runs past the end"});
        else if (b.bodyLength == 0 && last)
            report.findings.push_back(
                {Severity::Info, 0, {}, b.offset, "an empty last block: the end of the transfer"});
        else if (b.bodyLength == 0)
            emptyBlocks.Add({Severity::Error,
                             0,
                             {},
                             b.offset,
                             "an empty block before the last one: the box takes it as the end of the "
                             "transfer, and the blocks after it never reach it"});
        else if (b.size > kXupMaxBlockBytes)
            longBlocks.Add({Severity::Error,
                            0,
                            {},
                            b.offset,
                            "the block is " + std::to_string(b.size)
                                + " bytes long: its echo takes longer "
                                  "at 19200 baud than the "
                                + std::to_string(kBlockEchoWindowMs)
                                + " ms the link waits for it, so it cannot reach the box whole (at most "
                                + std::to_string(kXupMaxBlockBytes) + " bytes)"});
    }
    emptyBlocks.Close();
    longBlocks.Close();
    report.findings.push_back(
        {Severity::Info,
         0,
         {},
         {},
         "image of " + Plural(image.size(), "byte", "bytes") + " in " + Plural(blocks.size(), "block", "blocks")});
}

}  // namespace

CheckReport CheckXup(std::string_view fileBytes)
{
    CheckReport report;
    report.kind = FirmwareKind::Xup;
    const std::vector<TextChar> chars = TextModeChars(fileBytes);
    CheckCharacters(report, chars, chars.size() / 2 * 2);
    CheckBlocks(report, XupImage(fileBytes));
    return report;
}

}  // namespace kel
