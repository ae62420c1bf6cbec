#pragma once
// Shared by the fuzz targets: a broken invariant stops the run with the
// condition in the log, reference readings written apart from the engine,
// scratch files, and a Screen that costs next to nothing.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include <unistd.h>

#include "link/QuietScreen.h"
#include "settings/NumberText.h"
#include "settings/SettingsRecord.h"

#define KEL_FUZZ_CHECK(condition)                                                                                      \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition);                   \
            __builtin_trap();                                                                                          \
        }                                                                                                              \
    } while (false)

namespace kel::fuzz {

// "0"-"9" and "A"-"F" are digits, anything else counts 0.
inline std::uint8_t ReferenceHexPair(char high, char low)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    const auto digit = [&](char c) { return kDigits.find(c) == std::string_view::npos ? 0 : kDigits.find(c); };
    return static_cast<std::uint8_t>((digit(high) << 4) | digit(low));
}
// Text mode: every CR LF pair reads as one LF.
inline std::string ReferenceTextMode(std::string_view bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            text += bytes[i];
    }
    return text;
}

inline std::string_view RefusedText(bool volt)
{
    return volt ? kVoltRefused : kPercentRefused;
}

// Writes `bytes` to `name` in a memory-backed folder of this process's own,
// removed at exit; the path, or "" when there is no scratch space.
inline std::filesystem::path WriteScratch(const std::string& name, std::string_view bytes)
{
    namespace fs = std::filesystem;
    // Kept to the end (never destroyed), so the removal at exit can use it.
    static const fs::path* const folder = [] {
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        const auto* own = new fs::path(base / ("kel-fuzz-" + std::to_string(::getpid())));
        fs::create_directories(*own, ec);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(*folder, ignored);
        });
        return own;
    }();
    const fs::path path = *folder / name;
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f)
        return {};
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written ? path : fs::path();
}

// A copy of the bytes in a heap block of exactly their size, so the address
// sanitizer sees a read one past the end (a std::string has room for its
// terminator and often more).
class ExactBytes {
public:
    ExactBytes(const void* data, std::size_t size) : size_(size), bytes_(new char[size > 0 ? size : 1])
    {
        std::copy_n(static_cast<const char*>(data), size, bytes_.get());
    }
    std::string_view View() const { return {bytes_.get(), size_}; }
    const std::uint8_t* Data() const { return reinterpret_cast<const std::uint8_t*>(bytes_.get()); }

private:
    std::size_t size_;
    std::unique_ptr<char[]> bytes_;
};

// Shows nothing; remembers which controls had their text set and how many
// message boxes were raised, which is what the invariants ask about.
class WatchingScreen : public QuietScreen {
public:
    void Forget()
    {
        textsSet.clear();
        messageBoxes = 0;
    }
    void MessageBox(std::string_view, std::string_view, MessageIcon) override { ++messageBoxes; }
    void SetText(int controlId, std::string_view) override { textsSet.insert(controlId); }

    std::set<int> textsSet;
    int messageBoxes = 0;
};

using Captions = std::array<std::string, id::kSlotCount>;
inline Captions CaptionsOf(const SettingsRecord& record)
{
    Captions captions;
    for (int k = 0; k < id::kSlotCount; ++k)
        captions[static_cast<std::size_t>(k)] = record.Caption(id::kFirstSlot + k);
    return captions;
}

}  // namespace kel::fuzz
