#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "settings/Backups.h"
#include "settings/Profile.h"

namespace kel {

class SettingsRecord;
class UsbUart;
struct LinkState;

// Keeps the ESC's settings as last known (read, or written by Apply) and
// saves them as a profile before every exchange that changes the ESC. A
// backup that cannot be saved never stops that exchange: it only warns.
// Nothing is saved until a folder is given.
class SettingsBackups {
public:
    SettingsBackups(const SettingsRecord& record, const LinkState& link, const UsbUart& uart);

    void Use(std::unique_ptr<BackupFolder> folder,
             std::unique_ptr<WallClock> clock = std::make_unique<SystemWallClock>());
    BackupFolder* folder() const { return folder_.get(); }

    // A settings reply arrived in full and the record shows it.
    void RememberRead();
    // Apply wrote the record: the ESC now holds what it shows.
    void RememberWritten();
    // The ESC went away, or another device mode was chosen.
    void Forget() { known_.reset(); }
    const std::optional<ProfileImage>& Known() const { return known_; }

    // Before an exchange that changes the ESC (while one answers): saves the
    // settings last known, or warns why it could not.
    void BeforeChange();

    // The last backup's path (empty when the last attempt failed), and the
    // warning of the last attempt (empty when it was saved).
    const std::string& LastPath() const { return lastPath_; }
    const std::string& Warning() const { return warning_; }
    // Told each warning as it happens (kel-cli prints it).
    std::function<void(const std::string&)> onWarning;

private:
    ProfileImage ImageOfRecord() const;
    void Warn(const std::string& text);

    const SettingsRecord& record_;
    const LinkState& link_;
    const UsbUart& uart_;
    std::unique_ptr<BackupFolder> folder_;
    std::unique_ptr<WallClock> clock_;
    std::optional<ProfileImage> known_;
    std::string lastPath_;
    std::string warning_;
};

}  // namespace kel
