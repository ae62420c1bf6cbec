// Profile files: the bytes are read as a file would be, then every 31-byte
// image in the input is loaded in turn into one record, as successive Load
// clicks would, and saved back.
#include "FuzzSupport.h"
#include "link/LinkState.h"
#include "settings/Profile.h"

namespace kel::fuzz {
namespace {

void CheckFileRead(const std::uint8_t* data, std::size_t size)
{
    const std::string path = WriteScratch("profile.cfg", AsText(data, size)).string();
    if (path.empty())
        return;  // no scratch space: nothing to say about the reader
    std::string why;
    const auto image = ReadProfileFile(path, &why);
    KEL_FUZZ_CHECK(image.has_value() == (size == kProfileSize));
    KEL_FUZZ_CHECK(image.has_value() == why.empty());
    KEL_FUZZ_CHECK(!image || std::equal(image->begin(), image->end(), data));
}

// Loads one image and checks what the record shows and what a save gives.
ProfileImage LoadAndSave(const ProfileImage& image, SettingsRecord& record, ProfileState& profile,
                         WatchingScreen& screen)
{
    const Captions before = CaptionsOf(record);
    const int variantBefore = record.escVariant;
    const int modeBefore = record.escMode;
    screen.Forget();

    ApplyProfileImage(image, "fuzz", record, profile);

    const int variant = image[kProfileVersionOffset] == 11 ? 0 : image[kProfileVersionOffset] == 13 ? 1 : variantBefore;
    const int mode = image[kProfileModeOffset] >= 10 && image[kProfileModeOffset] <= 12 ? image[kProfileModeOffset] - 10
                                                                                        : modeBefore;
    KEL_FUZZ_CHECK(record.escVariant == variant);
    KEL_FUZZ_CHECK(record.escMode == mode);
    KEL_FUZZ_CHECK(profile.loaded && profile.name == "fuzz");
    KEL_FUZZ_CHECK(profile.versionText == FormatEscVersion(&image[kProfileVersionOffset]));

    const ProfileImage saved = BuildProfileImage(record, EscVersionOf(image));
    for (int k = 0; k < id::kSlotCount; ++k) {
        const int slot = id::kFirstSlot + k;
        const auto index = image[static_cast<std::size_t>(k)];
        const auto list = record.OptionList(slot);
        if (index < list.size()) {
            // A valid index is shown and saved as it came.
            KEL_FUZZ_CHECK(record.Caption(slot) == list[index]);
            KEL_FUZZ_CHECK(saved[static_cast<std::size_t>(k)] == index);
        } else {
            // 0xFF or past the list: the caption stays as it was.
            KEL_FUZZ_CHECK(record.Caption(slot) == before[static_cast<std::size_t>(k)]);
        }
    }

    // Custom numbers outside their range are refused, one message each, and saved as 0.
    int refused = 0;
    for (const auto& [offset, field] : {std::pair{kProfileDragBrakeOffset, CustomField::DragBrake},
                                        std::pair{kProfileInitialBrakeOffset, CustomField::InitialBrake},
                                        std::pair{kProfileLowVoltOffset, CustomField::LowVolt}}) {
        const CustomFieldInfo& info = InfoOf(field);
        const bool inRange = image[offset] >= info.lower && image[offset] <= info.upper;
        refused += inRange ? 0 : 1;
        KEL_FUZZ_CHECK(saved[offset] == (inRange ? image[offset] : 0));
        const std::string& text = record.custom.Text(field);
        if (text != RefusedText(info.volt))
            KEL_FUZZ_CHECK(NormaliseNumberText(text, info.volt).text == text);

        const bool onCustom = record.GetOptionIndex(info.slot) == info.customIndex;
        KEL_FUZZ_CHECK(record.custom.SpinEnabled(field) == onCustom);
        if (!onCustom)
            KEL_FUZZ_CHECK(!record.custom.EditEnabled(field));
    }
    KEL_FUZZ_CHECK(screen.messageBoxes == refused);
    for (std::size_t i = kProfileVersionOffset; i < kProfileSize; ++i)
        KEL_FUZZ_CHECK(saved[i] == image[i]);
    return saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckFileRead(data, size);

    WatchingScreen screen;
    SettingsRecord record(screen);
    ProfileState profile;
    for (std::size_t at = 0; at + kProfileSize <= size; at += kProfileSize) {
        ProfileImage image{};
        std::copy_n(data + at, kProfileSize, image.begin());
        const ProfileImage saved = LoadAndSave(image, record, profile, screen);
        // What a save gives loads and saves again unchanged.
        KEL_FUZZ_CHECK(LoadAndSave(saved, record, profile, screen) == saved);
    }
    return 0;
}

}  // namespace kel::fuzz
