#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/UserFile.h"

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
    std::size_t count = 1;  // problems it stands for ("and 12 more ..." stands for 12)
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

// The file's bytes, read as ReadUserFile does, within the size no real
// firmware file of the kind reaches.
UserFile ReadFirmwareFile(const std::string& path, FirmwareKind kind);

CheckReport CheckFirmwareFile(const std::string& path);
CheckReport CheckZrv(std::string_view fileBytes);
CheckReport CheckXup(std::string_view fileBytes);

// Why a checked file must not be sent: its first error, with its line or
// offset, and how many more there are; none when it may go.
std::optional<std::string> FirmwareRefusal(const CheckReport& report);

// "line 3: error: ..." / "byte 0x1F (image 0x0F): warning: ..." / "info: ..."
std::string FormatFinding(const CheckFinding& finding);

}  // namespace kel
