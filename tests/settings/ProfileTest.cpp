#include <filesystem>
#include <tuple>

#include "SettingsFixture.h"
#include "support/TempFolder.h"

#include "settings/Profile.h"

namespace kel {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// A profile with something in every field.
const Bytes kSample = {6, 1, 2, 2, 30, 2, 0, 60, 15, 3,  3,  0,  4,    20, 5, 7,
                       2, 5, 0, 1, 4,  1, 2, 1,  45, 30, 36, 11, 0x23, 4,  12};

class ProfileTest : public test::SettingsFixture {
protected:
    test::TempFolder folder{"kel-profile"};
    ProfileFiles files{record, profile, link, screen};

    void SetUp() override
    {
        SettingsFixture::SetUp();
        link.escVersion = {1, 2, 3, 4};
    }
};

// Every other slot and custom byte is pinned by the load and save of kSample.
TEST_F(ProfileTest, ACaptionNotInItsListSavesAs0xFF)
{
    record.escVariant = 0;
    record.escMode = 0;
    record.SetOptionIndex(1088, 60);  // "60 deg*", known to variant 0 in stock mode only
    record.escVariant = 1;
    EXPECT_EQ(BuildProfileImage(record, {})[7], 0xFF);
}

TEST_F(ProfileTest, SaveAlwaysAppendsTheExtensionAndAFailedOneSaysWhy)
{
    files.Save();  // cancelled
    EXPECT_TRUE(screen.messages.empty());
    profile.name = "Race";
    screen.fileAnswers = {folder.Path("x"), folder.Path("x.cfg"), folder.Path("missing/x")};
    files.Save();
    files.Save();
    EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"x.cfg", "x.cfg.cfg"}));
    const Bytes saved = folder.Read<Bytes>("x.cfg");
    ASSERT_EQ(saved.size(), 31u);
    EXPECT_EQ(Bytes(saved.end() - 4, saved.end()), Bytes({1, 2, 3, 4}));  // the connected ESC's version, at the end
    const FileDialogRequest& r = screen.fileRequests.at(1);
    EXPECT_EQ(std::tie(r.save, r.title, r.initialName, r.filter, r.defaultExt),
              std::tuple(true, "Race", "Race", "config Files (*.cfg)|*.cfg||", ""));
    files.Save();
    test::ExpectOneMessage(screen,
                           "Cannot save " + folder.Path("missing/x.cfg") + ": the folder " + folder.Path("missing")
                               + " does not exist.",
                           text::kAppCaption);
}

// Variant and mode come before the slots; saved again, the same bytes come out.
TEST_F(ProfileTest, LoadShowsEverythingAndSavesBackTheSameBytes)
{
    screen.fileAnswers = {folder.Write("my.set.cfg", kSample)};
    files.Load();
    EXPECT_EQ(record.escVariant, 0);
    EXPECT_EQ(record.escMode, 2);
    // 1088: variant 0 outside stock mode; variant -1 has no entries.
    test::ExpectCaptions(record, {{1088, "60 deg"}, {1081, "Level 7*"}, {1094, "25000*"}});
    EXPECT_EQ(profile.name, "my");
    EXPECT_EQ(profile.versionText, "Ver: B23412");
    test::ExpectTexts(screen, {{1064, "my"}, {1110, "Ver: B23412"}, {1048, "45%"}, {1047, "30%"}, {1050, "3.6v"}});
    EXPECT_TRUE(profile.loaded);
    EXPECT_TRUE(screen.fileRequests.at(0).initialName.empty());
    EXPECT_FALSE(screen.fileRequests.at(0).save);
    std::string why;
    ASSERT_TRUE(WriteProfileFile(folder.Path("out.cfg"), BuildProfileImage(record, {11, 0x23, 4, 12}), why)) << why;
    EXPECT_EQ(folder.Read<Bytes>("out.cfg"), kSample);
}

TEST_F(ProfileTest, LoadSetsTheCustomSpinsByTheLoadedSlots)
{
    Bytes image = kSample;
    image[14] = 5;  // Initial Brake "Custom"
    image[15] = 3;  // Drag Brake "10%*"
    image[20] = 4;  // Low volt cut "Custom"
    record.custom.EnableEdit(CustomField::InitialBrake, true);
    record.custom.EnableEdit(CustomField::DragBrake, true);
    ASSERT_TRUE(files.LoadFrom(folder.Write("c.cfg", image)));
    // 1047 keeps its state.
    test::ExpectEnabled(screen, {{1046, true}, {1047, true}, {1048, false}, {1049, false}, {1051, true}});
    EXPECT_FALSE(record.custom.EditEnabled(CustomField::LowVolt));
}

TEST_F(ProfileTest, WrongSizeOrUnreadableFileChangesNothing)
{
    folder.Write("short.cfg", Bytes(kSample.begin(), kSample.end() - 1));
    Bytes longer = kSample;
    longer.push_back(0);
    folder.Write("long.cfg", longer);
    // What is no regular file is refused where any file is read (files/).
    const std::pair<const char*, const char*> cases[] = {
        {"short.cfg", "30 bytes long"}, {"long.cfg", "too large"}, {"absent.cfg", "No such file"}};
    for (const auto& [name, reason] : cases) {
        screen.log.clear();
        screen.messages.clear();
        std::string why;
        EXPECT_FALSE(files.LoadFrom(folder.Path(name), &why)) << name;
        EXPECT_NE(why.find(reason), std::string::npos) << why;
        test::ExpectOneMessage(screen, "File Error!", "ZORV");
        EXPECT_EQ(screen.log.size(), 1u) << name;  // the message and nothing else
    }
    EXPECT_FALSE(profile.loaded);
    EXPECT_EQ(profile.name, "Profile1");
    EXPECT_EQ(record.escVariant, -1);
}

TEST(ProfileName, IsTheFileNameUpToItsFirstDot)
{
    EXPECT_EQ(ProfileNameOf("/home/u/my.set.cfg"), "my");
    EXPECT_EQ(ProfileNameOf("x.cfg.cfg"), "x");
    EXPECT_EQ(ProfileNameOf("/a.b/plain"), "");
    EXPECT_EQ(ProfileNameOf("/tmp/.hidden.cfg"), "");
    // A backslash parts folders on Windows only; elsewhere it is part of the name.
    EXPECT_EQ(ProfileNameOf("C:\\u\\r.cfg"), fs::path::preferred_separator == '/' ? "C:\\u\\r" : "r");
}

}  // namespace
}  // namespace kel
