#include <algorithm>
#include <cstdio>

#include "FileSave.h"
#include "Profile.h"
#include "SettingsRecord.h"
#include "files/UserFile.h"
#include "link/LinkState.h"
#include "link/Screen.h"

namespace kel {

std::optional<ProfileImage> ReadProfileFile(const std::string& path, std::string* why)
{
    const UserFile file = ReadUserFile(path, kProfileSize);
    std::string problem = file.reason;
    if (file.Read() && file.bytes.size() != kProfileSize)
        problem = path + " is " + std::to_string(file.bytes.size()) + " bytes long; a profile has exactly "
                  + std::to_string(kProfileSize);
    if (!problem.empty()) {
        if (why)
            *why = problem;
        return std::nullopt;
    }
    ProfileImage image{};
    std::copy_n(file.bytes.begin(), kProfileSize, reinterpret_cast<char*>(image.data()));
    return image;
}

bool WriteProfileFile(const std::string& path, const ProfileImage& image, std::string& why)
{
    return SaveFileAtomically(path, image.data(), image.size(), why);
}

std::string SaveFailedText(const std::string& path, const std::string& why)
{
    return "Cannot save " + path + ": " + why + ".";
}

ProfileFiles::ProfileFiles(SettingsRecord& record, ProfileState& profile, const LinkState& link, Screen& screen)
    : record_(record)
    , profile_(profile)
    , link_(link)
    , screen_(screen)
{}

void ProfileFiles::Save()
{
    const ProfileImage image = BuildProfileImage(record_, link_.escVersion);
    FileDialogRequest request;
    request.save = true;
    request.title = profile_.name;
    request.initialName = profile_.name;
    request.filter = std::string(text::kProfileFilter);
    const auto chosen = screen_.ChooseFile(request);
    if (!chosen)
        return;
    // The extension is appended whatever was chosen: a.cfg becomes a.cfg.cfg.
    const std::string path = *chosen + std::string(kProfileExtension);
    std::string why;
    if (!WriteProfileFile(path, image, why))
        screen_.MessageBox(SaveFailedText(path, why), text::kAppCaption, MessageIcon::Error);
}

void ProfileFiles::Load()
{
    FileDialogRequest request;
    request.filter = std::string(text::kProfileFilter);
    const auto chosen = screen_.ChooseFile(request);
    if (chosen)
        LoadFrom(*chosen);
}

bool ProfileFiles::LoadFrom(const std::string& path, std::string* why)
{
    const auto image = ReadProfileFile(path, why);
    if (!image) {
        screen_.MessageBox(text::kFileErrorMessage, text::kBoxCaption, MessageIcon::None);
        return false;
    }
    ApplyProfileImage(*image, ProfileNameOf(path), record_, profile_);
    return true;
}

}  // namespace kel
