#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "files/UserFile.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

namespace fs = std::filesystem;

struct FileCase {
    const char* name;
    // Makes the thing at `path`, in `dir`.
    std::function<void(const fs::path& path, const fs::path& dir)> make;
    FileRefusal refusal;
    const char* reasonPart;  // found in the reason
};

void WriteBytes(const fs::path& path, std::size_t size)
{
    std::ofstream(path, std::ios::binary) << std::string(size, 'A');
}

class TempDirTest : public ::testing::Test {
protected:
    test::TempFolder folder{"kel-userfile"};
    const fs::path dir = folder.Dir();
};

class UserFileTest : public TempDirTest, public ::testing::WithParamInterface<FileCase> {};

constexpr std::size_t kMax = 100;

TEST_P(UserFileTest, RefusesAtOnceWhatIsNoRegularFileOfItsSize)
{
    const fs::path path = dir / "input";
    GetParam().make(path, dir);
    const auto start = std::chrono::steady_clock::now();
    const UserFile file = ReadUserFile(path.string(), kMax);
    // A FIFO without a writer, or an endless device, must not hold the caller.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(file.refusal, GetParam().refusal);
    EXPECT_TRUE(file.bytes.empty());
    EXPECT_NE(file.reason.find(GetParam().reasonPart), std::string::npos) << file.reason;
    EXPECT_NE(file.reason.find(path.string()), std::string::npos) << file.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Files, UserFileTest,
    ::testing::Values(
        FileCase{"Missing", [](const fs::path&, const fs::path&) {}, FileRefusal::CannotOpen, "No such file"},
        FileCase{"Folder", [](const fs::path& p, const fs::path&) { fs::create_directory(p); }, FileRefusal::NotRegular,
                 "a folder"},
        FileCase{"Fifo", [](const fs::path& p, const fs::path&) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
                 FileRefusal::NotRegular, "FIFO"},
        FileCase{"LinkToDevZero", [](const fs::path& p, const fs::path&) { fs::create_symlink("/dev/zero", p); },
                 FileRefusal::NotRegular, "a device"},
        FileCase{"LinkToFolder", [](const fs::path& p, const fs::path& d) { fs::create_directory_symlink(d, p); },
                 FileRefusal::NotRegular, "a folder"},
        FileCase{"BrokenLink", [](const fs::path& p, const fs::path& d) { fs::create_symlink(d / "gone", p); },
                 FileRefusal::CannotOpen, "No such file"},
        FileCase{"Socket",
                 [](const fs::path& p, const fs::path&) {
                     const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
                     sockaddr_un address{};
                     address.sun_family = AF_UNIX;
                     std::snprintf(address.sun_path, sizeof address.sun_path, "%s", p.c_str());
                     ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
                     ::close(s);
                 },
                 FileRefusal::NotRegular, "a socket"},
        FileCase{"OneByteTooMany", [](const fs::path& p, const fs::path&) { WriteBytes(p, kMax + 1); },
                 FileRefusal::TooLarge, "101 bytes"},
        FileCase{"SparseHundredMegabytes",
                 [](const fs::path& p, const fs::path&) {
                     WriteBytes(p, 0);
                     fs::resize_file(p, 100 * 1024 * 1024);
                 },
                 FileRefusal::TooLarge, "104857600 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TempDirTest, ReadsARegularFileUpToTheBoundThroughALink)
{
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, kMax}) {
        const fs::path path = dir / ("f" + std::to_string(size));
        WriteBytes(path, size);
        fs::create_symlink(path, dir / ("l" + std::to_string(size)));
        const UserFile file = ReadUserFile((dir / ("l" + std::to_string(size))).string(), kMax);
        EXPECT_TRUE(file.Read()) << file.reason;
        EXPECT_EQ(file.bytes, std::string(size, 'A'));
        EXPECT_TRUE(file.reason.empty());
    }
}

TEST_F(TempDirTest, NoNameIsRefusedInWords)
{
    const UserFile file = ReadUserFile("", kMax);
    EXPECT_EQ(file.refusal, FileRefusal::CannotOpen);
    EXPECT_EQ(file.reason, "no file name was given");
}

}  // namespace
}  // namespace kel
