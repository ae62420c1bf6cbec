#pragma once
// Shared by the fuzz targets: a check that stops the run with the condition in
// the log, reference readings written apart from the engine, scratch files.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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

// The input, in a heap block of exactly its size, so the address sanitizer sees
// a read past it (parts are copied to a std::vector, never a std::string, for that).
inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

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
    // Never destroyed, so the removal at exit can still use it.
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
    std::ofstream out(*folder / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? *folder / name : fs::path();
}

// Shows nothing; remembers which controls had their text set and counts message boxes.
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
