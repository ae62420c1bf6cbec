#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
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
    Bytes("big", kMax + 1);
    const struct {
        const char* name;
        FileRefusal refusal;
        const char* reasonPart;
    } cases[] = {{"missing", FileRefusal::CannotOpen, "No such file"},
                 {"folder", FileRefusal::NotRegular, "a folder"},
                 {"fifo", FileRefusal::NotRegular, "FIFO"},
                 {"zero", FileRefusal::NotRegular, "a device"},
                 {"big", FileRefusal::TooLarge, "101 bytes"}};
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
    EXPECT_EQ(ReadUserFile("", kMax).reason, "no file name was given");
}

}  // namespace
}  // namespace kel
