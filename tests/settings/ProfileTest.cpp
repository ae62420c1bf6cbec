#include "SettingsFixture.h"
#include "support/PosixFiles.h"
#include "support/TempFolder.h"

#if __has_include(<sys/resource.h>)
#include <sys/resource.h>
#define KEL_HAVE_RLIMIT 1  // not on Windows
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "settings/Profile.h"

namespace kel {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

class ProfileTest : public test::SettingsFixture {
protected:
    test::TempFolder folder{"kel-profile"};
    ProfileFiles files{record, profile, link, screen};

    void SetUp() override
    {
        SettingsFixture::SetUp();
        link.escVersion = {1, 2, 3, 4};
    }
    // A profile with something in every field.
    Bytes SampleImage() const
    {
        Bytes image = {6, 1, 2, 2, 30, 2, 0, 60, 15, 3, 3, 0, 4, 20, 5, 7, 2, 5, 0, 1, 4, 1, 2, 1};
        image.insert(image.end(), {45, 30, 36, 11, 0x23, 4, 12});
        return image;
    }
};

TEST_F(ProfileTest, ImageHoldsIndicesCustomNumbersAndVersion)
{
    record.SetOptionIndex(1081, 6);
    record.SetOptionIndex(1104, 1);
    record.custom.OnTextEdited(CustomField::DragBrake, "15%");
    record.custom.OnTextEdited(CustomField::InitialBrake, "30%");
    record.custom.OnTextEdited(CustomField::LowVolt, "3.6v");
    const ProfileImage image = BuildProfileImage(record, {1, 2, 3, 4});
    Bytes expected(24, 0);
    expected[0] = 6;
    expected[23] = 1;
    expected.insert(expected.end(), {15, 30, 36, 1, 2, 3, 4});
    EXPECT_EQ(Bytes(image.begin(), image.end()), expected);
}

TEST_F(ProfileTest, CaptionNotInItsListSavesAsFF)
{
    record.escVariant = 0;
    record.escMode = 0;
    record.SetOptionIndex(1088, 60);  // "60 deg*", known to variant 0 in stock mode only
    record.escVariant = 1;
    EXPECT_EQ(BuildProfileImage(record, {})[7], 0xFF);
}

TEST_F(ProfileTest, SaveAlwaysAppendsTheExtension)
{
    profile.name = "Race";
    screen.fileAnswers = {folder.Path("x"), folder.Path("x.cfg")};
    files.Save();
    files.Save();
    EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"x.cfg", "x.cfg.cfg"}));
    EXPECT_EQ(folder.Read<Bytes>("x.cfg").size(), 31u);
    ASSERT_EQ(screen.fileRequests.size(), 2u);
    const FileDialogRequest& request = screen.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, "Race");
    EXPECT_EQ(request.initialName, "Race");
    EXPECT_EQ(request.filter, "config Files (*.cfg)|*.cfg||");
    EXPECT_EQ(request.defaultExt, "");
}

TEST_F(ProfileTest, CancelledSaveIsQuietAndAFailedOneSaysWhy)
{
    files.Save();  // cancelled
    EXPECT_TRUE(screen.messages.empty());
    screen.fileAnswers = {folder.Path("missing/x")};
    files.Save();
    EXPECT_TRUE(folder.Listing().empty());
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, "Cannot save " + folder.Path("missing/x.cfg") + ": the folder "
                                           + folder.Path("missing") + " does not exist.");
    EXPECT_EQ(screen.messages[0].caption, text::kAppCaption);
}

#ifdef KEL_HAVE_RLIMIT
TEST_F(ProfileTest, FailedWriteLeavesTheOldFileByteIdentical)
{
    const Bytes old = SampleImage();
    folder.Write("keep.cfg", old);
    // Files may grow to 10 bytes only: the write of 31 fails part way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string why;
    const bool written = WriteProfileFile(folder.Path("keep.cfg"), BuildProfileImage(record, {9, 9, 9, 9}), why);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(why, "the file is larger than this system allows");
    EXPECT_EQ(folder.Read<Bytes>("keep.cfg"), old);
    EXPECT_EQ(folder.Listing(), std::vector<std::string>{"keep.cfg"});  // no temporary left behind
}
#endif

TEST_F(ProfileTest, SavedProfileLoadsBackIntoAFreshRecord)
{
    folder.Write("in.cfg", SampleImage());
    ASSERT_TRUE(files.LoadFrom(folder.Path("in.cfg")));
    std::string why;
    ASSERT_TRUE(WriteProfileFile(folder.Path("out.cfg"), BuildProfileImage(record, {11, 0x23, 4, 12}), why)) << why;
    EXPECT_EQ(folder.Read<Bytes>("out.cfg"), SampleImage());
}

TEST_F(ProfileTest, LoadAppliesVariantAndModeBeforeTheSlots)
{
    folder.Write("my.set.cfg", SampleImage());
    screen.fileAnswers = {folder.Path("my.set.cfg")};
    files.Load();
    EXPECT_EQ(record.escVariant, 0);
    EXPECT_EQ(record.escMode, 2);
    EXPECT_EQ(record.Caption(1088), "60 deg");  // variant 0 outside stock mode; variant -1 has no entries
    EXPECT_EQ(record.Caption(1081), "Level 7*");
    EXPECT_EQ(record.Caption(1094), "25000*");
    EXPECT_EQ(profile.name, "my");
    EXPECT_EQ(screen.texts[1064], "my");
    EXPECT_EQ(profile.versionText, "Ver: B23412");
    EXPECT_EQ(screen.texts[1110], "Ver: B23412");
    EXPECT_EQ(screen.texts[1048], "45%");
    EXPECT_EQ(screen.texts[1047], "30%");
    EXPECT_EQ(screen.texts[1050], "3.6v");
    EXPECT_TRUE(profile.loaded);
    EXPECT_TRUE(screen.fileRequests.at(0).initialName.empty());
    EXPECT_FALSE(screen.fileRequests.at(0).save);
}

TEST_F(ProfileTest, LoadSetsTheCustomSpinsByTheLoadedSlots)
{
    Bytes image = SampleImage();
    image[14] = 5;  // Initial Brake "Custom"
    image[15] = 3;  // Drag Brake "10%*"
    image[20] = 4;  // Low volt cut "Custom"
    folder.Write("c.cfg", image);
    record.custom.EnableEdit(CustomField::InitialBrake, true);
    record.custom.EnableEdit(CustomField::DragBrake, true);
    ASSERT_TRUE(files.LoadFrom(folder.Path("c.cfg")));
    EXPECT_TRUE(screen.enabled.at(1046));
    EXPECT_TRUE(screen.enabled.at(1047));  // keeps its state
    EXPECT_FALSE(screen.enabled.at(1048));
    EXPECT_FALSE(screen.enabled.at(1049));
    EXPECT_TRUE(screen.enabled.at(1051));
    EXPECT_FALSE(record.custom.EditEnabled(CustomField::LowVolt));
}

TEST_F(ProfileTest, WrongSizeOrUnreadableFileChangesNothing)
{
    Bytes image = SampleImage();
    folder.Write("short.cfg", Bytes(image.begin(), image.end() - 1));
    image.push_back(0);
    folder.Write("long.cfg", image);
    fs::create_directory(folder.Dir() / "folder.cfg");
    // Neither may hold the window: no writer ever comes, no end ever comes.
    std::vector<std::pair<const char*, const char*>> cases = {{"short.cfg", "30 bytes long"},
                                                              {"long.cfg", "too large"},
                                                              {"absent.cfg", "No such file"},
                                                              {"folder.cfg", "a folder"}};
    if (test::kHasFifos) {
        ASSERT_TRUE(test::MakeFifo(folder.Path("fifo.cfg")));
        fs::create_symlink("/dev/zero", folder.Dir() / "zero.cfg");
        cases.insert(cases.end(), {{"fifo.cfg", "FIFO"}, {"zero.cfg", "a device"}});
    }
    for (const auto& [name, reason] : cases) {
        screen.log.clear();
        screen.messages.clear();
        std::string why;
        EXPECT_FALSE(files.LoadFrom(folder.Path(name), &why)) << name;
        EXPECT_NE(why.find(reason), std::string::npos) << why;
        ASSERT_EQ(screen.messages.size(), 1u) << name;
        EXPECT_EQ(screen.messages[0].text, "File Error!");
        EXPECT_EQ(screen.messages[0].caption, "ZORV");
        EXPECT_EQ(screen.log.size(), 1u) << name;  // the message and nothing else
    }
    EXPECT_FALSE(profile.loaded);
    EXPECT_EQ(profile.name, "Profile1");
    EXPECT_EQ(record.escVariant, -1);
}

TEST_F(ProfileTest, IndexOutsideItsListKeepsThatCaptionOnly)
{
    record.SetOptionIndex(1083, 4);
    Bytes image = SampleImage();
    image[2] = 0xFF;
    image[27] = 0;  // variant stays -1: reserved 1088 and 1091 have no entries
    folder.Write("odd.cfg", image);
    ASSERT_TRUE(files.LoadFrom(folder.Path("odd.cfg")));
    EXPECT_EQ(record.Caption(1083), "32kHz");
    EXPECT_EQ(record.Caption(1088), "");
    EXPECT_EQ(record.Caption(1084), "6%*");
}

TEST_F(ProfileTest, ProfileOfTheConnectedEscPassesTheVersionCheck)
{
    link.escVersion = {1, 2, 3, 4};
    link.versionText = FormatEscVersion(link.escVersion.data());
    esc.reply = test::SampleReply();
    exchange.ReadSettings();
    screen.fileAnswers = {folder.Path("mine")};
    files.Save();
    ASSERT_TRUE(files.LoadFrom(folder.Path("mine.cfg")));
    exchange.Apply();
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_EQ(screen.settingsProgressTitle, true);
    EXPECT_FALSE(profile.loaded);
}

TEST(ProfileName, IsTheFileNameUpToItsFirstDot)
{
    EXPECT_EQ(ProfileNameOf("/home/u/my.set.cfg"), "my");
    EXPECT_EQ(ProfileNameOf("x.cfg.cfg"), "x");
    EXPECT_EQ(ProfileNameOf("/a.b/plain"), "");
    EXPECT_EQ(ProfileNameOf("/tmp/.hidden.cfg"), "");
}

}  // namespace
}  // namespace kel
