#include "Backups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "FileSave.h"
#include "link/LinkState.h"

namespace kel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kStampLength = 19;  // "2026-12-06_14-03-22"
constexpr std::string_view kStampForm = "dddd-dd-dd_dd-dd-dd";

// When a backup was taken and its number within that second; none for a
// file not named like a backup.
struct BackupKey {
    std::string stamp;
    int sequence = 1;
    auto operator<=>(const BackupKey&) const = default;
};

std::optional<BackupKey> KeyOf(const std::string& name)
{
    if (name.size() <= kStampLength + 1 || !name.ends_with(kProfileExtension))
        return std::nullopt;
    for (std::size_t i = 0; i < kStampLength; ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
        if (kStampForm[i] == 'd' ? !digit : name[i] != kStampForm[i])
            return std::nullopt;
    }
    BackupKey key{name.substr(0, kStampLength)};
    if (name[kStampLength] == '_')
        return key;
    if (name[kStampLength] != '-')
        return std::nullopt;
    const std::size_t end = name.find('_', kStampLength + 1);
    const std::string digits = name.substr(kStampLength + 1, end - kStampLength - 1);
    if (end == std::string::npos || digits.empty() || digits.size() > 6
        || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    key.sequence = std::stoi(digits);
    return key;
}

// The version as the version field shows it, without "Ver: ", in characters
// every file system takes.
std::string VersionPart(const ProfileImage& image)
{
    std::string text = FormatEscVersion(&image[kProfileVersionOffset]);
    if (text.starts_with("Ver: "))
        text.erase(0, 5);
    for (char& c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-')
            c = '_';
    }
    return text.empty() ? "unknown" : text;
}

}  // namespace

CivilTime SystemWallClock::Now() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::vector<std::string> DiskBackupFolder::Names() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return names;
}

bool DiskBackupFolder::Write(const std::string& name, const ProfileImage& image, std::string& why)
{
    std::error_code ec;
    fs::create_directories(path_, ec);
    if (ec) {
        why = SaveErrorText(ec.value(), path_);
        return false;
    }
    return WriteProfileFile(PathOf(name), image, why);
}

void DiskBackupFolder::Remove(const std::string& name)
{
    std::error_code ec;
    fs::remove(PathOf(name), ec);  // one left behind is removed with the next backup
}

std::string DiskBackupFolder::PathOf(const std::string& name) const
{
    return (fs::path(path_) / name).string();
}

std::string BackupName(const CivilTime& t, const ProfileImage& image, int sequence)
{
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    const std::string counter = sequence > 1 ? "-" + std::to_string(sequence) : std::string();
    return stamp + counter + "_" + VersionPart(image) + std::string(kProfileExtension);
}

std::vector<std::string> ListBackups(const BackupFolder& folder)
{
    std::vector<std::pair<BackupKey, std::string>> found;
    for (const std::string& name : folder.Names()) {
        if (const auto key = KeyOf(name))
            found.emplace_back(*key, name);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    std::vector<std::string> names;
    for (const auto& entry : found)
        names.push_back(entry.second);
    return names;
}

std::optional<std::string> SaveBackup(BackupFolder& folder, const WallClock& clock, const ProfileImage& image,
                                      std::string& why)
{
    const CivilTime now = clock.Now();
    const std::string first = BackupName(now, image);
    // Later in the same second than any backup already there, so it lists first.
    int sequence = 1;
    for (const std::string& name : ListBackups(folder)) {
        const auto key = KeyOf(name);
        if (key->stamp == first.substr(0, kStampLength))
            sequence = std::max(sequence, key->sequence + 1);
    }
    const std::string name = BackupName(now, image, sequence);
    if (!folder.Write(name, image, why))
        return std::nullopt;
    const std::vector<std::string> all = ListBackups(folder);
    // A clock set back may leave the new one among the oldest: it stays all the same.
    for (std::size_t i = kBackupsKept; i < all.size(); ++i) {
        if (all[i] != name)
            folder.Remove(all[i]);
    }
    return folder.PathOf(name);
}

}  // namespace kel
