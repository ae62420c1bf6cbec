#include "SettingsBackups.h"

#include "link/LinkState.h"
#include "link/UsbUart.h"
#include "settings/OutOfRange.h"
#include "settings/SettingsRecord.h"

namespace kel {

SettingsBackups::SettingsBackups(const SettingsRecord& record, const LinkState& link, const UsbUart& uart)
    : record_(record)
    , link_(link)
    , uart_(uart)
{}

void SettingsBackups::Use(std::unique_ptr<BackupFolder> folder, std::unique_ptr<WallClock> clock)
{
    folder_ = std::move(folder);
    clock_ = std::move(clock);
}

ProfileImage SettingsBackups::ImageOfRecord() const
{
    return BuildProfileImage(record_, link_.escVersion);
}

void SettingsBackups::RememberRead()
{
    // What the ESC holds, as "profile save" keeps it: also values no entry shows.
    ProfileImage image = ImageOfRecord();
    KeepHeldValues(image, FindOutOfRangeInReply(record_.lastRead.data()));
    known_ = image;
}

void SettingsBackups::RememberWritten()
{
    known_ = ImageOfRecord();
}

void SettingsBackups::BeforeChange()
{
    if (!folder_ || !clock_ || link_.exchangeRunning || uart_.usbState != UsbState::kInUse
        || uart_.escState != EscState::kConnected)
        return;
    lastPath_.clear();
    // An ESC found in its boot loader (Fix mode) has no settings to read: nothing to save, as expected.
    if (!known_ && link_.pollMode == kPollFix)
        return;
    if (!known_) {
        Warn("No backup of the ESC's settings was kept: they could not be read. The change goes ahead.");
        return;
    }
    std::string why;
    const auto path = SaveBackup(*folder_, *clock_, *known_, why);
    if (!path) {
        Warn("No backup of the ESC's settings was kept in " + folder_->Location() + ": " + why
             + ". The change goes ahead.");
        return;
    }
    lastPath_ = *path;
    warning_.clear();
}

void SettingsBackups::Warn(const std::string& text)
{
    warning_ = text;
    if (onWarning)
        onWarning(text);
}

}  // namespace kel
