// Saving a file as users expect: through links, keeping permissions, refusing
// what is not a file, any legal name, a reason on failure, nothing left over.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

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
}

TEST_F(FileSaveTest, FollowsAChainOfLinksAsFarAsTheSystemDoes)
{
    folder.Write("end.cfg", kOld);
    std::string previous = "end.cfg";
    for (int n = 1; n <= 41; ++n) {  // link n is the start of a chain of n links
        fs::create_symlink(previous, dir / ("link" + std::to_string(n)));
        previous = "link" + std::to_string(n);
    }
    for (const char* start : {"link40", "link41"}) {
        const bool systemFollows = ::access(folder.Path(start).c_str(), R_OK) == 0;
        SCOPED_TRACE(start);
        EXPECT_EQ(systemFollows, std::string(start) == "link40");
        Save(start, systemFollows);
    }
    EXPECT_EQ(folder.Read<Bytes>("end.cfg"), kNew);
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

TEST_F(FileSaveTest, AnyNameTheFileSystemTakesWorks)
{
    for (const std::size_t length : {249u, 255u}) {
        const std::string name(length, 'n');
        folder.Write(name, kOld);
        Save(name);
        EXPECT_EQ(folder.Read<Bytes>(name), kNew);
        fs::remove(dir / name);
    }
    EXPECT_TRUE(folder.Listing().empty());
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

// The save as an unprivileged user (the tests may run as root, who may write
// anywhere): whether it saved, and the reason it gave.
std::pair<bool, std::string> SaveAsUser(const std::string& path)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {true, "pipe failed"};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        std::string why;
        const bool ok = SaveFileAtomically(path, kNew.data(), kNew.size(), why);
        const ssize_t ignored = ::write(pipeFds[1], why.data(), why.size());
        (void)ignored;
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string why;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        why.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, why};
}

TEST_F(FileSaveTest, AFolderWithoutWriteAccessIsNamedAndTheOldFileStays)
{
    folder.Write("p.cfg", kOld);
    fs::permissions(dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto [saved, why] = SaveAsUser(folder.Path("p.cfg"));
    EXPECT_FALSE(saved);
    EXPECT_EQ(why, "you are not allowed to write in the folder " + dir.string());
    EXPECT_EQ(folder.Read<Bytes>("p.cfg"), kOld);
    EXPECT_EQ(folder.Listing(), Names{"p.cfg"});
}

TEST(SaveErrorText, SaysWhatTheUserCanActOn)
{
    EXPECT_EQ(SaveErrorText(ENOSPC, "/m"), "the disk is full");
    EXPECT_EQ(SaveErrorText(EROFS, "/m"), "the folder /m is on a read-only file system");
    EXPECT_EQ(SaveErrorText(EDQUOT, "/m"), "your disk quota is used up");
}

}  // namespace
}  // namespace kel
