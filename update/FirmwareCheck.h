#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Offline check of a firmware file: everything that would make the updater
// send something other than what the file's author meant, or make the
// device refuse or stall on it. Nothing is sent anywhere.

enum class FirmwareKind { Zrv, Xup, Unknown };
enum class Severity { Info, Warning, Error };

struct CheckFinding {
    Severity severity = Severity::Error;
    std::size_t line = 0;                    // 1-based; 0 when not about one line
    std::optional<std::size_t> fileOffset;   // byte of the file
    std::optional<std::size_t> imageOffset;  // byte of a *.xup image
    std::string message;
};

struct CheckReport {
    FirmwareKind kind = FirmwareKind::Unknown;
    bool readable = true;
    std::vector<CheckFinding> findings;
    // Would the updater send the file as its author meant it?
    bool Flashable() const;
};

// By the file name's extension (.zrv or .xup, any letter case).
FirmwareKind FirmwareKindOf(std::string_view path);

CheckReport CheckFirmwareFile(const std::string& path);
CheckReport CheckZrv(std::string_view fileBytes);
CheckReport CheckXup(std::string_view fileBytes);

// "line 3: error: ..." / "byte 0x1F (image 0x0F): warning: ..." / "info: ..."
std::string FormatFinding(const CheckFinding& finding);

} // namespace kel
