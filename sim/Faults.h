#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kel::sim {

// Named misbehaviours of the simulated box and ESC. Some take a value (a byte
// count, a delay, a byte); the others take an optional occurrence N: without it
// every occurrence is hit, with it only the Nth one counted from the moment the
// fault was set (so a test can aim it at one exchange).
enum class FaultKind {
    NoEcho,           // occurrence: bytes received
    NoReply,          // occurrence: replies (a reply is everything one command gets back)
    NoSettingsReply,  // occurrence: 0xD8 requests
    ShortReply,       // value: length of the settings reply (default 20)
    WrongEndMark,     // value: byte 23 of the settings reply (default 0x00)
    RefusedPair,      // occurrence: (tag, value) pairs
    RefusedTag,       // value: every pair with this tag is refused
    NoSecondAck,      // occurrence: (tag, value) pairs
    LateReply,        // value: extra delay of every reply, ms
    Unplug,           // value: bytes received before the device vanishes
    Replug,           // value: ms after the unplug until the device is back
    WrongD6Reply,     // value: what the ESC answers instead of 0xD7 (default 0x00)
    D8OnRetry,        // value: retry of the box's 0xD7 that first gets 0xD8
    NoAck,            // occurrence: firmware records
    Resend,           // value: 0x13 answers to every block before 0x11
    BadBlockCheck,    // occurrence: box blocks
    LateBytes,        // occurrence: replies longer than one byte
    Flood,            // value: bytes received before the flood starts
    OutOfRange,       // value: the Low volt cut custom byte the ESC holds
    MisstoredTag,     // value: every pair with this tag is acknowledged but stored as value + 1
};
inline constexpr std::size_t kFaultKindCount = 20;
// How late the last byte of a reply hit by late-bytes arrives: after every
// reply time-out of the link (the longest, the version reply's, is 500 ms).
inline constexpr int kLateBytesMs = 600;

struct FaultInfo {
    FaultKind kind;
    const char* name;
    const char* argument;     // how the argument reads in --help ("" none, "[=N]" optional, "=MS" required)
    bool occurrence;          // the argument counts occurrences
    bool valueRequired;       // a value fault whose value must be given
    int defaultValue;         // value faults without a given value
    const char* description;  // one line for --help
};

// Every fault, in the order --help lists them.
const std::array<FaultInfo, kFaultKindCount>& AllFaults();
const FaultInfo& InfoOf(FaultKind kind);

class FaultSet {
public:
    // Adds "name" or "name=N" (N decimal or 0x hex). Returns an error text, empty on success.
    std::string Add(std::string_view spec);
    // Sets a fault directly; occurrence faults without a value hit every time.
    void Set(FaultKind kind, std::optional<int> value = std::nullopt);
    void Clear(FaultKind kind);

    bool IsSet(FaultKind kind) const { return slot(kind).active; }
    // The value of a value fault (its default when none was given); nullopt when the fault is off.
    std::optional<int> Value(FaultKind kind) const;
    // Counts one occurrence of an occurrence fault and tells whether it is hit.
    bool Hit(FaultKind kind);
    // Counts one occurrence of any active fault; the count since it was set (0 when off).
    long Tally(FaultKind kind);

    // Text of every fault for --help, one per line.
    static std::string HelpText();

private:
    struct Slot {
        bool active = false;
        std::optional<int> value;
        long occurrences = 0;
    };
    Slot& slot(FaultKind kind) { return slots_[static_cast<std::size_t>(kind)]; }
    const Slot& slot(FaultKind kind) const { return slots_[static_cast<std::size_t>(kind)]; }

    std::array<Slot, kFaultKindCount> slots_{};
};

// Parses a decimal or 0x-prefixed hexadecimal number; nullopt when it is not one.
std::optional<long> ParseNumber(std::string_view text);

}  // namespace kel::sim
