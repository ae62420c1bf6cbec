#include "FirmwareCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "XupFile.h"
#include "ZrvFile.h"

namespace kel {

bool CheckReport::Flashable() const
{
    return readable && kind != FirmwareKind::Unknown
           && std::none_of(findings.begin(), findings.end(),
                           [](const CheckFinding& f) { return f.severity == Severity::Error; });
}

FirmwareKind FirmwareKindOf(std::string_view path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos)
        return FirmwareKind::Unknown;
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == "zrv")
        return FirmwareKind::Zrv;
    if (ext == "xup")
        return FirmwareKind::Xup;
    return FirmwareKind::Unknown;
}

UserFile ReadFirmwareFile(const std::string& path, FirmwareKind kind)
{
    // A file of no known kind is read within the larger bound.
    return ReadUserFile(path, kind == FirmwareKind::Xup ? kXupMaxFileBytes : kZrvMaxFileBytes);
}

CheckReport CheckFirmwareFile(const std::string& path)
{
    const FirmwareKind kind = FirmwareKindOf(path);
    const UserFile file = ReadFirmwareFile(path, kind);
    CheckReport report;
    if (!file.Read()) {
        report.kind = kind;
        report.readable = false;
        report.findings.push_back({Severity::Error, 0, {}, {}, file.reason});
        return report;
    }
    switch (kind) {
    case FirmwareKind::Zrv: return CheckZrv(file.bytes);
    case FirmwareKind::Xup: return CheckXup(file.bytes);
    case FirmwareKind::Unknown: break;
    }
    report.findings.push_back({Severity::Error,
                               0,
                               {},
                               {},
                               "not a firmware file name: ESC firmware ends in .zrv, program box firmware in .xup"});
    return report;
}

std::optional<std::string> FirmwareRefusal(const CheckReport& report)
{
    const auto isError = [](const CheckFinding& f) { return f.severity == Severity::Error; };
    const auto first = std::find_if(report.findings.begin(), report.findings.end(), isError);
    if (first == report.findings.end())
        return std::nullopt;
    std::size_t more = 0;
    for (auto f = first + 1; f != report.findings.end(); ++f)
        more += isError(*f) ? f->count : 0;
    std::string text = FormatFinding(*first);
    if (more > 0)
        text += " (and " + std::to_string(more) + " more " + (more == 1 ? "error" : "errors") + ")";
    return text;
}

std::string FormatFinding(const CheckFinding& finding)
{
    std::string text;
    char number[32];
    if (finding.line > 0)
        text += "line " + std::to_string(finding.line);
    if (finding.fileOffset) {
        std::snprintf(number, sizeof number, "byte 0x%zX", *finding.fileOffset);
        text += (text.empty() ? "" : ", ") + std::string(number);
    }
    if (finding.imageOffset) {
        std::snprintf(number, sizeof number, "image offset 0x%zX", *finding.imageOffset);
        text += (text.empty() ? "" : ", ") + std::string(number);
    }
    if (!text.empty())
        text += ": ";
    switch (finding.severity) {
    case Severity::Info: text += "info: "; break;
    case Severity::Warning: text += "warning: "; break;
    case Severity::Error: text += "error: "; break;
    }
    return text + finding.message;
}

}  // namespace kel
