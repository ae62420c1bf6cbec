#include "sim/Faults.h"

#include <algorithm>
#include <charconv>

namespace kel::sim {

namespace {

constexpr std::array<FaultInfo, kFaultKindCount> kFaults{{
    {FaultKind::NoEcho, "no-echo", "[=N]", true, false, 0,
     "the Nth byte received is not echoed (without N: no byte is)"},
    {FaultKind::NoReply, "no-reply", "[=N]", true, false, 0,
     "the Nth reply is not sent, echoes still are (without N: nothing is ever answered)"},
    {FaultKind::NoSettingsReply, "no-settings-reply", "[=N]", true, false, 0,
     "the Nth 0xD8 settings request gets no reply (without N: none does)"},
    {FaultKind::ShortReply, "short-reply", "[=K]", false, false, 20,
     "the settings reply is cut to its first K bytes (default 20)"},
    {FaultKind::WrongEndMark, "wrong-end-mark", "[=B]", false, false, 0x00,
     "byte 23 of the settings reply is B instead of 0xDD (default 0x00)"},
    {FaultKind::RefusedPair, "refused-pair", "[=N]", true, false, 0,
     "the Nth (tag, value) pair is answered 0x00 and not stored (without N: every pair)"},
    {FaultKind::RefusedTag, "refused-tag", "=T", false, true, 0,
     "every pair with tag T (e.g. 0xE5) is answered 0x00 and not stored"},
    {FaultKind::NoSecondAck, "no-second-ack", "[=N]", true, false, 0,
     "the Nth pair gets its first 0x01 but not the second (without N: every pair)"},
    {FaultKind::LateReply, "late-reply", "=MS", false, true, 0,
     "every reply arrives MS ms after its command (echoes stay on time)"},
    {FaultKind::Unplug, "unplug", "=N", false, true, 0,
     "the device vanishes once it has received N bytes: writes and opens fail"},
    {FaultKind::Replug, "replug", "=MS", false, true, 0,
     "with unplug: the device is back MS ms after it vanished (freshly powered up)"},
    {FaultKind::WrongD6Reply, "wrong-d6-reply", "[=B]", false, false, 0x00,
     "the ESC answers 0xD6 with B instead of 0xD7 (default 0x00); a running ESC then stays out of its loader"},
    {FaultKind::D8OnRetry, "d8-on-retry", "=N", false, true, 0,
     "the box update handshake: 0xD7 is answered 0x00 until its Nth retry, which gets 0xD8"},
    {FaultKind::NoAck, "no-ack", "[=N]", true, false, 0,
     "the ESC loader does not acknowledge the Nth firmware record (without N: no record is)"},
    {FaultKind::Resend, "resend", "=N", false, true, 0,
     "the box loader answers every block 0x13 (send again) N times before it takes it"},
    {FaultKind::BadBlockCheck, "bad-block-check", "[=N]", true, false, 0,
     "the box loader answers the Nth block 0x12 (check failed) (without N: every block)"},
    {FaultKind::LateBytes, "late-bytes", "[=N]", true, false, 0,
     "the last byte of the Nth reply longer than one byte arrives 600 ms late, after its time-out (without N: of "
     "every such reply)"},
    {FaultKind::Flood, "flood", "[=N]", false, false, 1,
     "once N bytes (default 1) were received, the box sends 0x55 without end, as fast as the port takes "
     "it, instead of any echo or reply"},
    {FaultKind::OutOfRange, "out-of-range", "[=B]", false, false, 0x14,
     "the ESC holds B (default 0x14: 2.0v) as its Low volt cut custom value, outside 3.5v to 11.0v, until a write "
     "or its factory settings replace it"},
    {FaultKind::MisstoredTag, "misstored-tag", "=T", false, true, 0,
     "every pair with tag T (e.g. 0xE4) is acknowledged as usual, but the ESC stores its value plus one"},
}};

}  // namespace

const std::array<FaultInfo, kFaultKindCount>& AllFaults()
{
    return kFaults;
}

const FaultInfo& InfoOf(FaultKind kind)
{
    return kFaults[static_cast<std::size_t>(kind)];
}

std::optional<long> ParseNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string FaultSet::Add(std::string_view spec)
{
    const auto equals = spec.find('=');
    const std::string_view name = spec.substr(0, equals);
    const FaultInfo* info = nullptr;
    for (const auto& f : kFaults) {
        if (name == f.name)
            info = &f;
    }
    if (!info)
        return "unknown fault \"" + std::string(name) + "\" (see --help for the list)";

    std::optional<int> value;
    if (equals != std::string_view::npos) {
        const auto number = ParseNumber(spec.substr(equals + 1));
        if (!number || *number < 0 || *number > 1'000'000)
            return "fault " + std::string(name) + " needs a number from 0 to 1000000, not \""
                   + std::string(spec.substr(equals + 1)) + "\"";
        if ((info->occurrence || info->kind == FaultKind::Unplug) && *number == 0)
            return "fault " + std::string(name) + " counts from 1";
        value = static_cast<int>(*number);
    } else if (info->valueRequired) {
        return "fault " + std::string(name) + " needs a value: " + std::string(name) + info->argument;
    }
    Set(info->kind, value);
    return {};
}

void FaultSet::Set(FaultKind kind, std::optional<int> value)
{
    slot(kind) = Slot{true, value, 0};
}

void FaultSet::Clear(FaultKind kind)
{
    slot(kind) = Slot{};
}

std::optional<int> FaultSet::Value(FaultKind kind) const
{
    const Slot& s = slot(kind);
    if (!s.active)
        return std::nullopt;
    return s.value.value_or(InfoOf(kind).defaultValue);
}

bool FaultSet::Hit(FaultKind kind)
{
    Slot& s = slot(kind);
    if (!s.active)
        return false;
    ++s.occurrences;
    return !s.value || s.occurrences == *s.value;
}

long FaultSet::Tally(FaultKind kind)
{
    Slot& s = slot(kind);
    return s.active ? ++s.occurrences : 0;
}

std::string FaultSet::HelpText()
{
    constexpr std::size_t kIndent = 26;
    constexpr std::size_t kWidth = 80;
    std::string text;
    for (const auto& f : kFaults) {
        std::string line = std::string("  ") + f.name + f.argument;
        line.resize(std::max(line.size() + 1, kIndent), ' ');
        // Wrap the description at word boundaries under its own column.
        std::string_view words = f.description;
        while (!words.empty()) {
            std::size_t take = words.size();
            if (line.size() + take > kWidth) {
                take = words.rfind(' ', kWidth - line.size());
                if (take == std::string_view::npos || take == 0)
                    take = words.find(' ');
            }
            line += words.substr(0, take);
            words.remove_prefix(std::min(words.size(), take + 1));
            text += line + "\n";
            line = std::string(kIndent, ' ');
        }
    }
    return text;
}

}  // namespace kel::sim
