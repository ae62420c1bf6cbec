// Check of an ESC firmware file: Intel-HEX syntax as the ESC's loader expects
// it, and everything the updater's plain line conversion would send wrong.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "CheckSupport.h"
#include "FirmwareCheck.h"
#include "ZrvFile.h"

namespace kel {

namespace {

using check::Describe;
using check::Hex2;
using check::Plural;

constexpr std::size_t kMinRecordDigits = 10;  // length, address (2), type, checksum
constexpr unsigned kMaxRecordType = 5;
constexpr unsigned kEndOfFileType = 1;

int CaseFreeHexValue(char c)
{
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c - '0';
}

class ZrvLineCheck {
public:
    ZrvLineCheck(CheckReport& report, std::size_t number) : report_(report), number_(number) {}

    void Error(std::string message)
    {
        report_.findings.push_back({Severity::Error, number_, {}, {}, std::move(message)});
    }

    // The record type, or none when the line is no well-formed record.
    std::optional<unsigned> Check(const std::string& line)
    {
        if (line.empty()) {
            Error("empty line: nothing is sent for it, yet the updater waits for an acknowledgement "
                  "that never comes (\"Update Error: Data transfer no ack!\")");
            return std::nullopt;
        }
        if (line[0] != ':')
            Error("the record does not start with a colon: " + Describe(line[0]) + " is sent as 0x3A");
        const std::string digits = line.substr(1);
        const bool charactersOk = CheckCharacters(digits);
        if (digits.size() % 2 != 0) {
            Error("odd number of hex digits (" + std::to_string(digits.size()) + "): the updater drops the last one");
            return std::nullopt;
        }
        if (!charactersOk)
            return std::nullopt;
        if (digits.size() < kMinRecordDigits) {
            Error("too short for a record: " + Plural(digits.size(), "hex digit", "hex digits") + ", at least "
                  + std::to_string(kMinRecordDigits) + " are needed");
            return std::nullopt;
        }
        std::vector<unsigned> bytes;
        for (std::size_t i = 0; i < digits.size(); i += 2)
            bytes.push_back(static_cast<unsigned>(CaseFreeHexValue(digits[i]) * 16 + CaseFreeHexValue(digits[i + 1])));
        return CheckRecord(bytes);
    }

private:
    bool CheckCharacters(const std::string& digits)
    {
        std::size_t lower = 0, other = 0, firstLower = 0, firstOther = 0;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            const char c = digits[i];
            if (check::IsUpperHexDigit(c))
                continue;
            if (check::IsLowerHexLetter(c)) {
                if (lower++ == 0)
                    firstLower = i;
            } else if (other++ == 0) {
                firstOther = i;
            }
        }
        if (lower > 0)
            Error(Plural(lower, "lower-case hex digit", "lower-case hex digits") + " (first "
                  + Describe(digits[firstLower]) + " at column " + std::to_string(firstLower + 2)
                  + ") would be sent as 0: write A-F in upper case");
        if (other > 0)
            Error(Plural(other, "character is not a hex digit", "characters are not hex digits") + " (first "
                  + Describe(digits[firstOther]) + " at column " + std::to_string(firstOther + 2)
                  + ") and would be sent as 0");
        return other == 0;
    }

    std::optional<unsigned> CheckRecord(const std::vector<unsigned>& bytes)
    {
        const unsigned dataLength = bytes[0];
        const std::size_t expectedBytes = dataLength + 5;
        if (bytes.size() != expectedBytes) {
            Error("the length field says " + Plural(dataLength, "data byte", "data bytes") + ", so "
                  + std::to_string(expectedBytes * 2) + " hex digits should follow the colon, not "
                  + std::to_string(bytes.size() * 2));
            return std::nullopt;
        }
        unsigned sum = 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
            sum += bytes[i];
        const unsigned expected = (0x100u - (sum & 0xFFu)) & 0xFFu;
        if (bytes.back() != expected)
            Error("checksum " + Hex2(bytes.back()) + " is wrong: the record's bytes call for " + Hex2(expected));
        const unsigned type = bytes[3];
        if (type > kMaxRecordType) {
            Error("unknown record type " + Hex2(type));
            return std::nullopt;
        }
        if (type == kEndOfFileType && dataLength != 0)
            Error("the end-of-file record carries data; it should read :00000001FF");
        return type;
    }

    CheckReport& report_;
    std::size_t number_;
};

}  // namespace

CheckReport CheckZrv(std::string_view fileBytes)
{
    CheckReport report;
    report.kind = FirmwareKind::Zrv;
    const std::vector<std::string> lines = ZrvLines(fileBytes);
    if (lines.empty()) {
        report.findings.push_back({Severity::Error,
                                   0,
                                   {},
                                   {},
                                   "the file holds no records: the update would send nothing and report success"});
        return report;
    }

    std::size_t endOfFileLine = 0;
    std::size_t recordsAfterEnd = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto type = ZrvLineCheck(report, i + 1).Check(lines[i]);
        if (endOfFileLine > 0 && !lines[i].empty())
            ++recordsAfterEnd;
        else if (endOfFileLine == 0 && type == kEndOfFileType)
            endOfFileLine = i + 1;
    }
    if (endOfFileLine == 0)
        report.findings.push_back({Severity::Error,
                                   0,
                                   {},
                                   {},
                                   "no end-of-file record (:00000001FF): the ESC's loader is never told the "
                                   "firmware is complete"});
    else if (recordsAfterEnd > 0)
        report.findings.push_back({Severity::Error,
                                   endOfFileLine,
                                   {},
                                   {},
                                   "the end-of-file record is not the last record: "
                                       + Plural(recordsAfterEnd, "line follows", "lines follow") + " it"});

    report.findings.push_back({Severity::Info,
                               0,
                               {},
                               {},
                               Plural(lines.size(), "line", "lines") + ", "
                                   + Plural(static_cast<std::size_t>(ZrvTotal(lines)), "byte", "bytes") + " to send"});
    // In file order; what concerns the whole file comes last.
    std::stable_sort(report.findings.begin(), report.findings.end(), [](const CheckFinding& a, const CheckFinding& b) {
        return (a.line == 0 ? SIZE_MAX : a.line) < (b.line == 0 ? SIZE_MAX : b.line);
    });
    return report;
}

}  // namespace kel
