#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/AtomicReplace.h"
#include "support/TempFolder.h"

namespace kel {
namespace {

namespace fs = std::filesystem;

class AtomicReplace : public ::testing::Test {
protected:
    test::TempFolder folder{"kel-replace"};
    const fs::path dir = folder.Dir();

    static std::string Utf8(const fs::path& path)
    {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }
    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(AtomicReplace, MovesOverAnExistingOrMissingTargetWhateverItsName)
{
    for (const auto& [target, exists] :
         {std::pair<const char8_t*, bool>{u8"new.cfg", false}, {u8"old.cfg", true}, {u8"Профиль é 設定.cfg", true}}) {
        const fs::path from = dir / u8"part-1", to = dir / target;
        if (exists)
            Write(to, "the old profile, longer than the new one");
        Write(from, "new");
        std::string why;
        EXPECT_TRUE(ReplaceFileAtomically(Utf8(from), Utf8(to), why)) << why;
        EXPECT_EQ(Read(to), "new");
        EXPECT_FALSE(fs::exists(from));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
        fs::remove(to);
    }
    // A failure names the target and leaves it alone.
    const fs::path to = dir / "keep.cfg";
    Write(to, "kept");
    std::string why;
    EXPECT_FALSE(ReplaceFileAtomically(Utf8(dir / "no-such-part"), Utf8(to), why));
    EXPECT_NE(why.find(Utf8(to)), std::string::npos) << why;
    EXPECT_GT(why.size(), Utf8(to).size() + 16) << why;
    EXPECT_EQ(Read(to), "kept");
}

}  // namespace
}  // namespace kel
