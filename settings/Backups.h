#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Profile.h"

namespace kel {

// A calendar date and time of day (local time), as a backup's name shows it.
struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Where the date and time of a backup come from; tests use a fixed one.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual CivilTime Now() const = 0;
};

// The computer's local time.
class SystemWallClock final : public WallClock {
public:
    CivilTime Now() const override;
};

// The folder the backups are kept in.
class BackupFolder {
public:
    virtual ~BackupFolder() = default;
    // The names of the files in the folder (none when it does not exist yet).
    virtual std::vector<std::string> Names() const = 0;
    // Writes the file in one step, creating the folder first when needed;
    // false with the reason in `why` on failure.
    virtual bool Write(const std::string& name, const ProfileImage& image, std::string& why) = 0;
    virtual void Remove(const std::string& name) = 0;
    virtual std::string PathOf(const std::string& name) const = 0;
    virtual std::string Location() const = 0;
};

// A folder on disk.
class DiskBackupFolder final : public BackupFolder {
public:
    explicit DiskBackupFolder(std::string path) : path_(std::move(path)) {}
    std::vector<std::string> Names() const override;
    bool Write(const std::string& name, const ProfileImage& image, std::string& why) override;
    void Remove(const std::string& name) override;
    std::string PathOf(const std::string& name) const override;
    std::string Location() const override { return path_; }

private:
    std::string path_;
};

inline constexpr std::size_t kBackupsKept = 50;

// "2026-12-06_14-03-22_102304.cfg": date, time and the ESC version the image
// carries (its digits as the version field shows them). A second backup in
// the same second is "2026-12-06_14-03-22-2_102304.cfg", and so on.
std::string BackupName(const CivilTime& time, const ProfileImage& image, int sequence = 1);

// The backups in the folder, newest first; files not named like one are left out.
std::vector<std::string> ListBackups(const BackupFolder& folder);

// Saves `image` under a new name and then removes all but the newest
// kBackupsKept. The path written, or none with the reason in `why`.
std::optional<std::string> SaveBackup(BackupFolder& folder, const WallClock& clock, const ProfileImage& image,
                                      std::string& why);

}  // namespace kel
