// Settings replies: every 24 bytes of the input arrive in turn as a full
// reply into one record, as successive Read clicks would; each is decoded,
// encoded as a write would send it, and the sent values decoded again.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "settings/ParameterTable.h"
#include "settings/SettingsCodec.h"

namespace {

using kel::SettingsRecord;
using kel::fuzz::WatchingScreen;
using Reply = std::array<std::uint8_t, kel::kSettingsReplySize>;
using kel::fuzz::Captions;
using kel::fuzz::CaptionsOf;

const std::string& Before(const Captions& captions, int slot)
{
    return captions[static_cast<std::size_t>(slot - kel::id::kFirstSlot)];
}

// The custom text a received byte ends up as: its "%d%%" / "%.1fv" form, or
// the refusal text when the number is outside the field's range.
std::string ExpectedCustomText(kel::CustomField field, std::uint8_t byte)
{
    const kel::CustomFieldInfo& info = kel::InfoOf(field);
    if (byte < info.lower || byte > info.upper)
        return std::string(kel::fuzz::RefusedText(info.volt));
    return kel::FormatCustom(byte, info.volt);
}

// What the read exchange does with a reply that arrived in full.
void Receive(SettingsRecord& record, WatchingScreen& screen, const Reply& reply)
{
    std::copy(reply.begin(), reply.end(), record.lastRead.begin());
    record.escMode = reply[kel::kReplyModeByte] != 0 ? 1 : 0;
    screen.Forget();
    // Exactly 24 bytes on the heap: a read past the reply is caught.
    const kel::fuzz::ExactBytes exact(reply.data(), reply.size());
    kel::DecodeSettings(record, exact.Data());
}

void CheckDecoded(const SettingsRecord& record, const WatchingScreen& screen, const Reply& reply,
                  const Captions& before)
{
    for (const kel::Parameter& p : kel::kParameters) {
        if (p.map == kel::ByteMap::EscMode)
            continue;
        const auto custom = kel::CustomFieldOfEdit(p.source);
        if (custom) {
            const std::uint8_t byte = reply[static_cast<std::size_t>(p.replyByte)];
            KEL_FUZZ_CHECK(record.custom.SpinPosition(*custom) == byte);
            KEL_FUZZ_CHECK(record.custom.Text(*custom) == ExpectedCustomText(*custom, byte));
            continue;
        }
        if (p.replyByte < 0) {
            // Reserved slots travel in profiles only.
            KEL_FUZZ_CHECK(record.Caption(p.source) == Before(before, p.source));
            KEL_FUZZ_CHECK(!screen.textsSet.count(p.source));
            continue;
        }
        const int index = kel::FromEscByte(p, reply[static_cast<std::size_t>(p.replyByte)]);
        const auto list = record.OptionList(p.source);
        if (index >= 0 && index < static_cast<int>(list.size())) {
            KEL_FUZZ_CHECK(record.Caption(p.source) == list[static_cast<std::size_t>(index)]);
            if (const auto field = kel::CustomFieldOfSlot(p.source); field && index == kel::InfoOf(*field).customIndex)
                KEL_FUZZ_CHECK(record.custom.SpinEnabled(*field));
        } else {
            // A byte that maps to no entry leaves the slot alone, not even redrawn.
            KEL_FUZZ_CHECK(record.Caption(p.source) == Before(before, p.source));
            KEL_FUZZ_CHECK(!screen.textsSet.count(p.source));
        }
    }
}

// The reply the ESC would give after storing a write of `block`.
Reply ReplyAfterWrite(const SettingsRecord& record, const Reply& reply, const kel::SettingsBlock& block)
{
    Reply echoed = reply;
    for (std::size_t k = 0; k < kel::kPairs.size(); ++k) {
        KEL_FUZZ_CHECK(block[2 * k] == kel::kPairs[k].tag);
        if (kel::kPairs[k].map == kel::ByteMap::EscMode)
            KEL_FUZZ_CHECK(block[2 * k + 1] == static_cast<std::uint8_t>(record.escMode & 0xFF));
        echoed[static_cast<std::size_t>(kel::kPairs[k].replyByte)] = block[2 * k + 1];
    }
    return echoed;
}

void ReadWriteRead(SettingsRecord& record, WatchingScreen& screen, const Reply& reply)
{
    const Captions before = CaptionsOf(record);
    Receive(record, screen, reply);
    CheckDecoded(record, screen, reply, before);

    const Captions decoded = CaptionsOf(record);
    std::array<std::string, kel::kCustomFieldCount> texts;
    for (const kel::CustomFieldInfo& info : kel::kCustomFields)
        texts[static_cast<std::size_t>(info.field)] = record.custom.Text(info.field);

    const kel::SettingsBlock block = kel::EncodeSettings(record);
    const Reply echoed = ReplyAfterWrite(record, reply, block);

    // Reading back what was written shows the same settings, except that
    // stock mode sends 0 for the boost and turbo values and an empty caption
    // (never set) goes out as its list's first entry.
    Receive(record, screen, echoed);
    CheckDecoded(record, screen, echoed, decoded);
    const bool stock = record.escMode == 0;
    for (const kel::Parameter& p : kel::kParameters) {
        if (p.replyByte >= 0 && p.source >= kel::id::kFirstSlot && !(stock && p.zeroInStock)
            && !Before(decoded, p.source).empty())
            KEL_FUZZ_CHECK(record.Caption(p.source) == Before(decoded, p.source));
    }
    for (const kel::CustomFieldInfo& info : kel::kCustomFields)
        KEL_FUZZ_CHECK(record.custom.Text(info.field) == texts[static_cast<std::size_t>(info.field)]);
    KEL_FUZZ_CHECK(kel::EncodeSettings(record) == block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WatchingScreen screen;
    SettingsRecord record(screen);
    for (std::size_t at = 0; at + kel::kSettingsReplySize <= size; at += kel::kSettingsReplySize) {
        Reply reply{};
        std::copy_n(data + at, reply.size(), reply.begin());
        ReadWriteRead(record, screen, reply);
    }
    return 0;
}
