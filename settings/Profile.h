#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ProfileState.h"

namespace kel {

class Screen;
class SettingsRecord;
struct LinkState;

// A profile file: 31 bytes, no header. Offsets 0..23 the option index of slots
// 1081..1104 (0xFF for a caption not in its list), 24 Drag Brake custom, 25
// Initial Brake custom, 26 Low volt cut custom (tenths), 27..30 the ESC
// version bytes.
inline constexpr std::size_t kProfileSize = 31;
inline constexpr std::size_t kProfileDragBrakeOffset = 24;
inline constexpr std::size_t kProfileInitialBrakeOffset = 25;
inline constexpr std::size_t kProfileLowVoltOffset = 26;
inline constexpr std::size_t kProfileVersionOffset = 27;
inline constexpr std::size_t kProfileModeOffset = 30;  // the last version byte
using ProfileImage = std::array<std::uint8_t, kProfileSize>;

inline constexpr std::string_view kProfileExtension = ".cfg";

// The ESC version bytes a profile was saved from.
std::array<std::uint8_t, 4> EscVersionOf(const ProfileImage& image);

ProfileImage BuildProfileImage(const SettingsRecord& record, const std::array<std::uint8_t, 4>& escVersion);

// Loads an image into the record, in this order: ESC variant (byte 27: 11 → 0,
// 13 → 1) and mode (byte 30: 10 → 0, 11 → 1, 12 → 2) first, so the option
// lists follow them; the version text into edit 1110; the name into edit
// 1064; the 24 slots (an index outside a list leaves that caption); the
// custom texts; the loaded flag; then each custom spin enabled on "Custom",
// else its edit and spin disabled.
void ApplyProfileImage(const ProfileImage& image, std::string_view profileName, SettingsRecord& record,
                       ProfileState& profile);

// The profile name a file gives: its name without folder, up to the first "."
// (empty when the name has none).
std::string ProfileNameOf(std::string_view path);

// Reads a profile file, never waiting on a FIFO or a device and never past
// 32 bytes; none when it is not a regular file of exactly 31 bytes, with
// the reason in `why` when asked.
std::optional<ProfileImage> ReadProfileFile(const std::string& path, std::string* why = nullptr);
// Writes a profile file under exactly this name, in one step (FileSave.h):
// through symbolic links, keeping the old file's permissions; a failure
// leaves the old file as it was and sets `why`.
bool WriteProfileFile(const std::string& path, const ProfileImage& image, std::string& why);
// "Cannot save PATH: WHY." for a failed save.
std::string SaveFailedText(const std::string& path, const std::string& why);

// The "Save" and "Load" buttons of the Profile Settings page.
class ProfileFiles {
public:
    ProfileFiles(SettingsRecord& record, ProfileState& profile, const LinkState& link, Screen& screen);

    // Save dialog titled and prefilled with the profile name; ".cfg" is always
    // appended to the chosen path. Cancel: nothing. A failed write says why in
    // a message box with the application's caption.
    void Save();
    // Open dialog; a file that cannot be read or is not 31 bytes: "File Error!"
    // and nothing changes.
    void Load();
    // Load without a dialog (kel-cli). False (after the message) on a bad
    // file, with the reason in `why` when asked.
    bool LoadFrom(const std::string& path, std::string* why = nullptr);

private:
    SettingsRecord& record_;
    ProfileState& profile_;
    const LinkState& link_;
    Screen& screen_;
};

}  // namespace kel
