#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "files/UserFile.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

namespace fs = std::filesystem;
constexpr std::size_t kMax = 100;

class UserFileTest : public ::testing::Test {
protected:
    test::TempFolder folder{"kel-userfile"};
    const fs::path dir = folder.Dir();
    std::string Bytes(const std::string& name, std::size_t size) { return folder.Write(name, std::string(size, 'A')); }
};

TEST_F(UserFileTest, RefusesAtOnceWhatIsNoRegularFileOfItsSize)
{
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo(folder.Path("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero");
    fs::create_directory_symlink(dir, dir / "to-folder");
    fs::create_symlink(dir / "gone", dir / "broken");
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", folder.Path("socket").c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(s);
    Bytes("big", kMax + 1);
    fs::resize_file(Bytes("sparse", 0), 100 * 1024 * 1024);
    const struct {
        const char* name;
        FileRefusal refusal;
        const char* reasonPart;
    } cases[] = {{"missing", FileRefusal::CannotOpen, "No such file"},
                 {"folder", FileRefusal::NotRegular, "a folder"},
                 {"fifo", FileRefusal::NotRegular, "FIFO"},
                 {"zero", FileRefusal::NotRegular, "a device"},
                 {"to-folder", FileRefusal::NotRegular, "a folder"},
                 {"broken", FileRefusal::CannotOpen, "No such file"},
                 {"socket", FileRefusal::NotRegular, "a socket"},
                 {"big", FileRefusal::TooLarge, "101 bytes"},
                 {"sparse", FileRefusal::TooLarge, "104857600 bytes"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const UserFile file = ReadUserFile(folder.Path(c.name), kMax);
        // A FIFO without a writer, or an endless device, must not hold the caller.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(file.refusal, c.refusal);
        EXPECT_TRUE(file.bytes.empty());
        EXPECT_NE(file.reason.find(c.reasonPart), std::string::npos) << file.reason;
        EXPECT_NE(file.reason.find(folder.Path(c.name)), std::string::npos) << file.reason;
    }
    EXPECT_EQ(ReadUserFile("", kMax).refusal, FileRefusal::CannotOpen);
    EXPECT_EQ(ReadUserFile("", kMax).reason, "no file name was given");
}

TEST_F(UserFileTest, ReadsARegularFileUpToTheBoundThroughALink)
{
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, kMax}) {
        const std::string link = folder.Path("l" + std::to_string(size));
        fs::create_symlink(Bytes("f" + std::to_string(size), size), link);
        const UserFile file = ReadUserFile(link, kMax);
        EXPECT_TRUE(file.Read()) << file.reason;
        EXPECT_EQ(file.bytes, std::string(size, 'A'));
        EXPECT_TRUE(file.reason.empty());
    }
}

}  // namespace
}  // namespace kel
