#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include "settings/AtomicReplace.h"
#include "settings/FileSave.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

const Bytes kNew = {1, 2, 3, 4, 5};
const Bytes kOld = {9, 9, 9};

class FileSaveTest : public ::testing::Test {
protected:
    test::TempFolder folder{"kel-save"};
    const fs::path dir = folder.Dir();

    // Saves kNew at `path` (in the folder when relative); the reason when it fails.
    std::string Save(const std::string& path, bool expectSaved = true) const
    {
        std::string why;
        EXPECT_EQ(SaveFileAtomically(path.starts_with('/') ? path : folder.Path(path), kNew.data(), kNew.size(), why),
                  expectSaved)
            << path << ": " << why;
        return why;
    }
};

TEST_F(FileSaveTest, WritesThroughSymbolicLinksToTheirTarget)
{
    fs::create_directories(dir / "real");
    folder.Write("real/p.cfg", kOld);
    fs::create_symlink("real/p.cfg", dir / "hop");  // relative, then absolute
    fs::create_symlink(dir / "hop", dir / "p.cfg");
    Save("p.cfg");
    EXPECT_TRUE(fs::is_symlink(dir / "p.cfg") && fs::is_symlink(dir / "hop"));
    EXPECT_EQ(folder.Read<Bytes>("real/p.cfg"), kNew);
    EXPECT_EQ(folder.Listing(), (Names{"hop", "p.cfg", "real"}));
    // A dangling link is created at the name it points to.
    fs::create_symlink("fresh.cfg", dir / "dangling");
    Save("dangling");
    EXPECT_EQ(folder.Read<Bytes>("fresh.cfg"), kNew);
    // A chain of 40 links is followed, as the kernel follows it; one more is a loop.
    for (int n = 1; n <= 41; ++n)
        fs::create_symlink(n == 1 ? "fresh.cfg" : "c" + std::to_string(n - 1), dir / ("c" + std::to_string(n)));
    Save("c40");
    Save("c41", false);
}

TEST_F(FileSaveTest, KeepsThePermissionsOfTheFileItReplaces)
{
    const auto rw = fs::perms::owner_read | fs::perms::owner_write;
    for (const fs::perms mode : {rw, rw | fs::perms::group_read}) {
        folder.Write("p.cfg", kOld);
        fs::permissions(dir / "p.cfg", mode, fs::perm_options::replace);
        Save("p.cfg");
        EXPECT_EQ(fs::status(dir / "p.cfg").permissions(), mode);
        EXPECT_EQ(folder.Read<Bytes>("p.cfg"), kNew);
    }
}

TEST_F(FileSaveTest, RefusesWhatIsNotARegularFile)
{
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    fs::create_directories(dir / "folder");
    fs::create_symlink("/dev/null", dir / "to-null");
    const std::pair<const char*, const char*> cases[] = {
        {"/dev/null", "a device"}, {"to-null", "a device"}, {"pipe", "a pipe (FIFO)"}, {"folder", "a folder"}};
    for (const auto& [path, kind] : cases) {
        const std::string why = Save(path, false);
        EXPECT_NE(why.find(std::string(" is ") + kind + ", not a file"), std::string::npos) << path << ": " << why;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(folder.Listing(), (Names{"folder", "pipe", "to-null"}));
}

TEST_F(FileSaveTest, RemovesTemporaryFilesAKilledRunLeftButNotFreshOnes)
{
    const std::string stale = std::string(kTempPrefix) + "4242-0" + kTempSuffix;
    const std::string fresh = std::string(kTempPrefix) + "4242-1" + kTempSuffix;
    const std::string older = "p.cfg.part-123456";   // an earlier version's name
    const std::string mine = ".kel-save-notes.tmp";  // not a name the save makes
    const std::string other = "q.cfg.part-1";        // another file's
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::seconds(kStaleTempSeconds + 5);
    for (const std::string& name : {stale, fresh, older, mine, other}) {
        folder.Write(name, kOld);
        if (name != fresh)
            fs::last_write_time(dir / name, longAgo);
    }
    Save("p.cfg");
    EXPECT_EQ(folder.Listing(), (Names{fresh, mine, "p.cfg", other}));
}

TEST_F(FileSaveTest, AWriteCutShortLeavesTheOldFileByteIdentical)
{
    folder.Write("p.cfg", kOld);
    // Files may grow to 2 bytes only: the write of 5 fails part way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 2;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string why = Save("p.cfg", false);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(why, "the file is larger than this system allows");
    EXPECT_EQ(folder.Read<Bytes>("p.cfg"), kOld);
    EXPECT_EQ(folder.Listing(), Names{"p.cfg"});  // no temporary left behind
}

// A failed replace names the target's folder; one that works leaves no descriptor open.
TEST_F(FileSaveTest, ReplaceNamesTheTargetsFolderAndKeepsNoDescriptor)
{
    for (const auto& [to, inFolder] : {std::pair<std::string, std::string>{folder.Path("p.cfg"), dir.string()},
                                       {"/kel-no-such.cfg", "/"},
                                       {"kel-no-such.cfg", "."}}) {
        std::string why;
        EXPECT_FALSE(ReplaceFileAtomically(folder.Path("no-such-part"), to, why));
        EXPECT_EQ(why, "cannot replace " + to + ": the folder " + inFolder + " does not exist");
    }
    const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto before = openFiles();
    folder.Write("part", kNew);
    std::string why;
    EXPECT_TRUE(ReplaceFileAtomically(folder.Path("part"), folder.Path("p.cfg"), why)) << why;
    EXPECT_EQ(openFiles(), before);
}

TEST(SaveErrorText, SaysWhatTheUserCanActOn)
{
    EXPECT_EQ(SaveErrorText(EACCES, "/m"), "you are not allowed to write in the folder /m");
    EXPECT_EQ(SaveErrorText(ENOSPC, "/m"), "the disk is full");
    EXPECT_EQ(SaveErrorText(EROFS, "/m"), "the folder /m is on a read-only file system");
    EXPECT_EQ(SaveErrorText(EDQUOT, "/m"), "your disk quota is used up");
}

}  // namespace
}  // namespace kel
