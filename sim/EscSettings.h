#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kel::sim {

// The settings an ESC keeps in its memory, laid out as its 24-byte settings
// reply: bytes 0..21 parameters, byte 22 the mode (0 stock, 1 MOD), byte 23 the
// end mark 0xDD.
class EscSettings {
public:
    static constexpr std::size_t kReplySize = 24;
    static constexpr std::size_t kEndMarkByte = 23;
    static constexpr std::uint8_t kEndMark = 0xDD;
    static constexpr std::uint8_t kModeTag = 0xFE;
    using Reply = std::array<std::uint8_t, kReplySize>;

    // Factory settings; mod = false gives a stock ESC.
    explicit EscSettings(bool mod = true) { RestoreDefaults(mod); }

    // The factory settings (the mode is what the ESC shipped with).
    static Reply Defaults(bool mod);
    void RestoreDefaults(bool mod) { bytes_ = Defaults(mod); }

    // Reply position of a pair tag, nullopt for a byte that is no tag.
    static std::optional<std::size_t> PositionOfTag(std::uint8_t tag);
    static bool IsTag(std::uint8_t byte) { return PositionOfTag(byte).has_value(); }
    // Stores the value of a pair; false (nothing stored) for an unknown tag.
    bool Apply(std::uint8_t tag, std::uint8_t value);

    const Reply& Bytes() const { return bytes_; }
    std::uint8_t At(std::size_t position) const { return bytes_.at(position); }
    void Set(std::size_t position, std::uint8_t value) { bytes_.at(position) = value; }

private:
    Reply bytes_{};
};

}  // namespace kel::sim
