#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

#include "settings/Backups.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

namespace fs = std::filesystem;

struct FixedClock final : WallClock {
    CivilTime now{2026, 12, 6, 14, 3, 22};
    CivilTime Now() const override { return now; }
};

ProfileImage ImageOf(std::uint8_t first, std::array<std::uint8_t, 4> version = {1, 2, 3, 4})
{
    ProfileImage image{};
    image[0] = first;
    std::copy(version.begin(), version.end(), image.begin() + 27);
    return image;
}

// A folder in memory: pruning costs no disk syncs.
struct MemoryFolder final : BackupFolder {
    std::map<std::string, ProfileImage> files;
    std::vector<std::string> Names() const override
    {
        std::vector<std::string> names;
        for (const auto& entry : files)
            names.push_back(entry.first);
        return names;
    }
    bool Write(const std::string& name, const ProfileImage& image, std::string&) override
    {
        files[name] = image;
        return true;
    }
    void Remove(const std::string& name) override { files.erase(name); }
    std::string PathOf(const std::string& name) const override { return name; }
    std::string Location() const override { return {}; }
};

class BackupsTest : public ::testing::Test {
protected:
    test::TempFolder temp{"kel-backups"};
    fs::path dir = temp.Dir();
    DiskBackupFolder folder{(dir / "backups").string()};
    FixedClock clock;

    std::string Save(const ProfileImage& image)
    {
        std::string why;
        const auto path = SaveBackup(folder, clock, image, why);
        EXPECT_TRUE(path) << why;
        return path.value_or("");
    }
};

TEST(BackupName, DateTimeVersionAndSequenceInSafeCharacters)
{
    EXPECT_EQ(BackupName({2027, 1, 31, 0, 0, 5}, ImageOf(0, {0xAB, 0xCD, 0x0E, 99}), 12),
              "2027-01-31_00-00-05-12_ABcde99.cfg");
}

TEST_F(BackupsTest, SavesTheImageAndListsNewestFirstIgnoringOtherFiles)
{
    fs::create_directories(dir / "backups");
    for (const char* other : {"race.cfg", "notes.txt", "2026-12-06_14-03-22.cfg", "2026-12-06_14-03-22_1.txt",
                              "2026-12-06_14-03-20-999999_102304.cfg", "2026-12-06_14-03-20-1234567_102304.cfg"})
        std::ofstream(dir / "backups" / other) << "x";
    const std::string first = Save(ImageOf(1));
    const std::string second = Save(ImageOf(2));  // the same second
    clock.now.second = 21;                        // the clock set back
    Save(ImageOf(3));
    clock.now = {2026, 12, 6, 14, 3, 23};
    Save(ImageOf(4));

    EXPECT_EQ(fs::path(second).filename(), "2026-12-06_14-03-22-2_102304.cfg");
    EXPECT_EQ(ListBackups(folder),
              (std::vector<std::string>{"2026-12-06_14-03-23_102304.cfg", "2026-12-06_14-03-22-2_102304.cfg",
                                        "2026-12-06_14-03-22_102304.cfg", "2026-12-06_14-03-21_102304.cfg",
                                        "2026-12-06_14-03-20-999999_102304.cfg"}));  // six digits at most
    const auto back = ReadProfileFile(first);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, ImageOf(1));
}

TEST(BackupPruning, KeepsTheNewestFiftyAndNothingElseOfTheFolder)
{
    MemoryFolder folder;
    folder.files["race.cfg"] = {};
    FixedClock clock;
    std::string why;
    for (int i = 0; i < 55; ++i) {
        clock.now.minute = i;
        ASSERT_TRUE(SaveBackup(folder, clock, ImageOf(static_cast<std::uint8_t>(i)), why));
    }
    const auto kept = ListBackups(folder);
    ASSERT_EQ(kept.size(), kBackupsKept);
    EXPECT_EQ(kept.front(), "2026-12-06_14-54-22_102304.cfg");
    EXPECT_EQ(kept.back(), "2026-12-06_14-05-22_102304.cfg");
    EXPECT_EQ(folder.files.at(kept.back())[0], 5);
    EXPECT_TRUE(folder.files.contains("race.cfg"));
}

}  // namespace
}  // namespace kel
