#include "Profile.h"

#include <filesystem>

#include "NumberText.h"
#include "SettingsRecord.h"
#include "link/LinkState.h"
#include "link/Screen.h"

namespace kel {

std::array<std::uint8_t, 4> EscVersionOf(const ProfileImage& image)
{
    return {image[kProfileVersionOffset], image[kProfileVersionOffset + 1], image[kProfileVersionOffset + 2],
            image[kProfileVersionOffset + 3]};
}

namespace {

void ApplyVariantAndMode(const ProfileImage& image, SettingsRecord& record)
{
    switch (image[kProfileVersionOffset]) {
    case 11: record.escVariant = 0; break;
    case 13: record.escVariant = 1; break;
    default: break;
    }
    switch (image[kProfileModeOffset]) {
    case 10: record.escMode = 0; break;
    case 11: record.escMode = 1; break;
    case 12: record.escMode = 2; break;  // counts as MOD
    default: break;
    }
}

// A loaded slot on "Custom" enables its spin (the edit keeps its state);
// any other entry disables edit and spin.
void FollowCustomEntries(SettingsRecord& record)
{
    for (const CustomFieldInfo& info : kCustomFields) {
        if (record.GetOptionIndex(info.slot) == info.customIndex) {
            record.custom.EnableSpin(info.field, true);
        } else {
            record.custom.EnableEdit(info.field, false);
            record.custom.EnableSpin(info.field, false);
        }
    }
}
}  // namespace

ProfileImage BuildProfileImage(const SettingsRecord& record, const std::array<std::uint8_t, 4>& escVersion)
{
    ProfileImage image{};
    for (int k = 0; k < id::kSlotCount; ++k)
        image[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(record.GetOptionIndex(id::kFirstSlot + k));
    image[kProfileDragBrakeOffset] = record.custom.Value(CustomField::DragBrake);
    image[kProfileInitialBrakeOffset] = record.custom.Value(CustomField::InitialBrake);
    image[kProfileLowVoltOffset] = record.custom.Value(CustomField::LowVolt);
    for (std::size_t i = 0; i < escVersion.size(); ++i)
        image[kProfileVersionOffset + i] = escVersion[i];
    return image;
}

void ApplyProfileImage(const ProfileImage& image, std::string_view profileName, SettingsRecord& record,
                       ProfileState& profile)
{
    Screen& screen = record.screen();
    ApplyVariantAndMode(image, record);
    profile.versionText = FormatEscVersion(&image[kProfileVersionOffset]);
    screen.SetText(id::kProfileVersion, profile.versionText);
    profile.name = std::string(profileName);
    screen.SetText(id::kProfileName, profile.name);
    for (int k = 0; k < id::kSlotCount; ++k)
        record.SetOptionIndex(id::kFirstSlot + k, image[static_cast<std::size_t>(k)]);
    record.custom.SetText(CustomField::DragBrake, FormatPercent(image[kProfileDragBrakeOffset]));
    record.custom.SetText(CustomField::InitialBrake, FormatPercent(image[kProfileInitialBrakeOffset]));
    record.custom.SetText(CustomField::LowVolt, FormatVolt(image[kProfileLowVoltOffset]));
    profile.loaded = true;
    FollowCustomEntries(record);
}

std::string ProfileNameOf(std::string_view path)
{
    // Windows takes both slashes between folders; elsewhere a backslash is part of a name.
    const bool windows = std::filesystem::path::preferred_separator != '/';
    const auto slash = path.find_last_of(windows ? "/\\" : "/");
    const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = file.find('.');
    return dot == std::string_view::npos ? std::string() : std::string(file.substr(0, dot));
}

}  // namespace kel
