#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "AtomicReplace.h"
#include "Profile.h"
#include "SettingsRecord.h"
#include "link/LinkState.h"
#include "link/Screen.h"

#if defined(_WIN32)
#include <io.h>
#define fsync _commit  // FlushFileBuffers on the file's handle
#define KEL_HAVE_FSYNC 1
#elif __has_include(<unistd.h>)
#include <unistd.h>
#define KEL_HAVE_FSYNC 1
#endif

namespace kel {

namespace {
constexpr int kTempNameAttempts = 16;

// Creates a file beside `target` that did not exist before.
std::FILE* CreateTempBeside(const std::string& target, std::string& tempPath)
{
    const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = target + ".part-" + std::to_string((seed + static_cast<unsigned long long>(attempt)) % 1000000007ULL);
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx"))
            return f;
    }
    return nullptr;
}

bool WriteAndSync(std::FILE* f, const ProfileImage& image)
{
    bool ok = std::fwrite(image.data(), 1, image.size(), f) == image.size() && std::fflush(f) == 0;
#ifdef KEL_HAVE_FSYNC
    ok = ok && ::fsync(::fileno(f)) == 0;
#endif
    return ok;
}
} // namespace

std::optional<ProfileImage> ReadProfileFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::array<std::uint8_t, kProfileSize + 1> bytes{};  // one more, to see a longer file
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    if (got != kProfileSize)
        return std::nullopt;
    ProfileImage image{};
    std::copy_n(bytes.begin(), kProfileSize, image.begin());
    return image;
}

bool WriteProfileFile(const std::string& path, const ProfileImage& image)
{
    std::string tempPath;
    std::FILE* f = CreateTempBeside(path, tempPath);
    if (!f)
        return false;
    const bool written = WriteAndSync(f, image);
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (written && closed) {
        if (std::string why; ReplaceFileAtomically(tempPath, path, why))
            return true;
    }
    std::filesystem::remove(tempPath, ec);
    return false;
}

ProfileFiles::ProfileFiles(SettingsRecord& record, ProfileState& profile, const LinkState& link, Screen& screen)
    : record_(record), profile_(profile), link_(link), screen_(screen)
{
}

void ProfileFiles::Save()
{
    const ProfileImage image = BuildProfileImage(record_, link_.escVersion);
    FileDialogRequest request;
    request.save = true;
    request.title = profile_.name;
    request.initialName = profile_.name;
    request.filter = std::string(kProfileFilter);
    const auto chosen = screen_.ChooseFile(request);
    if (!chosen)
        return;
    // The extension is appended whatever was chosen: a.cfg becomes a.cfg.cfg.
    WriteProfileFile(*chosen + std::string(kProfileExtension), image);
}

void ProfileFiles::Load()
{
    FileDialogRequest request;
    request.filter = std::string(kProfileFilter);
    const auto chosen = screen_.ChooseFile(request);
    if (chosen)
        LoadFrom(*chosen);
}

bool ProfileFiles::LoadFrom(const std::string& path)
{
    const auto image = ReadProfileFile(path);
    if (!image) {
        screen_.MessageBox(kFileErrorMessage, kBoxCaption, MessageIcon::None);
        return false;
    }
    ApplyProfileImage(*image, ProfileNameOf(path), record_, profile_);
    return true;
}

} // namespace kel
