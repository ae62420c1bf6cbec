// A fresh folder per test under the system's temporary folder, removed again
// (write permission restored first) when the test ends.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kel::test {

class TempFolder {
public:
    explicit TempFolder(const std::string& stem = "kel-test")
        : dir_(std::filesystem::temp_directory_path()
               / (stem + "-" + std::to_string(std::random_device()()) + "-" + CurrentTest()))
    {
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(dir_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Writes `content` (a string or a byte vector) and returns the path.
    template <typename Content>
    std::string Write(const std::string& name, const Content& content) const
    {
        std::ofstream out(dir_ / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        return Path(name);
    }
    template <typename Content = std::string>
    Content Read(const std::string& name) const
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        const std::string text(std::istreambuf_iterator<char>(in), {});
        return Content(text.begin(), text.end());
    }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static std::string CurrentTest()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? info->name() : "suite";
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised names
        return name;
    }

    std::filesystem::path dir_;
};

}  // namespace kel::test
