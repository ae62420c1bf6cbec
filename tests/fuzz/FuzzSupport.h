#pragma once
// Shared by the fuzz targets: a broken invariant stops the run with the
// condition in the log, and a Screen that costs next to nothing.
#include <bitset>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

#include "link/QuietScreen.h"

#define KEL_FUZZ_CHECK(condition)                                                                                      \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition);                   \
            __builtin_trap();                                                                                          \
        }                                                                                                              \
    } while (false)

namespace kel::fuzz {

// Written apart from the engine on purpose, so the targets check it against
// a second reading: "0"-"9" and "A"-"F" are digits, anything else counts 0.
inline int ReferenceHexDigit(char c)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    const auto at = kDigits.find(c);
    return at == std::string_view::npos ? 0 : static_cast<int>(at);
}
inline std::uint8_t ReferenceHexPair(char high, char low)
{
    return static_cast<std::uint8_t>((ReferenceHexDigit(high) << 4) | ReferenceHexDigit(low));
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

// A folder of this process's own for files a target writes on every run:
// memory-backed where there is one, removed at exit.
inline const std::filesystem::path& ScratchFolder()
{
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path own = base / ("kel-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(own, ec);
        return own;
    }();
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ec;
                                          fs::remove_all(folder, ec);
                                      })
                                      == 0;
    (void)removedAtExit;
    return folder;
}

// A copy of the bytes in a heap block of exactly their size, so the address
// sanitizer sees a read one past the end (a std::string has room for its
// terminator and often more).
class ExactBytes {
public:
    ExactBytes(const std::uint8_t* data, std::size_t size) : size_(size), bytes_(new char[size > 0 ? size : 1])
    {
        for (std::size_t i = 0; i < size; ++i)
            bytes_[i] = static_cast<char>(data[i]);
    }
    std::string_view View() const { return {bytes_.get(), size_}; }
    const std::uint8_t* Data() const { return reinterpret_cast<const std::uint8_t*>(bytes_.get()); }

private:
    std::size_t size_;
    std::unique_ptr<char[]> bytes_;
};

// Shows nothing; remembers only which controls had their text set and how
// many message boxes were raised, which is what the invariants ask about.
class WatchingScreen : public QuietScreen {
public:
    static constexpr int kMaxControlId = 2048;

    void Forget()
    {
        textsSet.reset();
        messageBoxes = 0;
    }
    bool TextWasSet(int controlId) const
    {
        return controlId >= 0 && controlId < kMaxControlId && textsSet.test(static_cast<std::size_t>(controlId));
    }

    void MessageBox(std::string_view, std::string_view, MessageIcon) override { ++messageBoxes; }
    void SetText(int controlId, std::string_view) override
    {
        if (controlId >= 0 && controlId < kMaxControlId)
            textsSet.set(static_cast<std::size_t>(controlId));
    }

    std::bitset<kMaxControlId> textsSet;
    int messageBoxes = 0;
};

}  // namespace kel::fuzz
