// Settings replies: every 24 bytes of the input arrive in turn as a full
// reply into one record, as successive Read clicks would; each is decoded,
// encoded as a write would send it, and the sent values decoded again.
#include "FuzzSupport.h"
#include "settings/ParameterTable.h"
#include "settings/SettingsCodec.h"

namespace kel::fuzz {
namespace {

using Reply = std::array<std::uint8_t, kSettingsReplySize>;

const std::string& Before(const Captions& captions, int slot)
{
    return captions[static_cast<std::size_t>(slot - id::kFirstSlot)];
}

// The custom text a received byte ends up as: its "%d%%" / "%.1fv" form, or
// the refusal text when the number is outside the field's range.
std::string ExpectedCustomText(CustomField field, std::uint8_t byte)
{
    const CustomFieldInfo& info = InfoOf(field);
    return byte < info.lower || byte > info.upper ? std::string(RefusedText(info.volt)) : FormatCustom(byte, info.volt);
}

void Receive(SettingsRecord& record, WatchingScreen& screen, const Reply& reply)
{
    std::copy(reply.begin(), reply.end(), record.lastRead.begin());
    record.escMode = reply[kReplyModeByte] != 0 ? 1 : 0;
    screen.Forget();
    // Exactly 24 bytes on the heap: a read past the reply is caught.
    const std::vector<std::uint8_t> exact(reply.begin(), reply.end());
    DecodeSettings(record, exact.data());
}

void CheckDecoded(const SettingsRecord& record, const WatchingScreen& screen, const Reply& reply,
                  const Captions& before)
{
    for (const Parameter& p : kParameters) {
        if (p.map == ByteMap::EscMode)
            continue;
        const auto custom = CustomFieldOfEdit(p.source);
        if (custom) {
            const std::uint8_t byte = reply[static_cast<std::size_t>(p.replyByte)];
            KEL_FUZZ_CHECK(record.custom.SpinPosition(*custom) == byte);
            KEL_FUZZ_CHECK(record.custom.Text(*custom) == ExpectedCustomText(*custom, byte));
            continue;
        }
        const int index = p.replyByte < 0 ? -1 : FromEscByte(p, reply[static_cast<std::size_t>(p.replyByte)]);
        const auto list = record.OptionList(p.source);
        if (index >= 0 && index < static_cast<int>(list.size())) {
            KEL_FUZZ_CHECK(record.Caption(p.source) == list[static_cast<std::size_t>(index)]);
            if (const auto field = CustomFieldOfSlot(p.source); field && index == InfoOf(*field).customIndex)
                KEL_FUZZ_CHECK(record.custom.SpinEnabled(*field));
        } else {
            // A reserved slot (profiles only) or a byte that maps to no entry is left alone, not even redrawn.
            KEL_FUZZ_CHECK(record.Caption(p.source) == Before(before, p.source));
            KEL_FUZZ_CHECK(!screen.textsSet.count(p.source));
        }
    }
}

// The reply the ESC would give after storing a write of `block`.
Reply ReplyAfterWrite(const SettingsRecord& record, const Reply& reply, const SettingsBlock& block)
{
    Reply echoed = reply;
    for (std::size_t k = 0; k < kPairs.size(); ++k) {
        KEL_FUZZ_CHECK(block[2 * k] == kPairs[k].tag);
        if (kPairs[k].map == ByteMap::EscMode)
            KEL_FUZZ_CHECK(block[2 * k + 1] == static_cast<std::uint8_t>(record.escMode & 0xFF));
        echoed[static_cast<std::size_t>(kPairs[k].replyByte)] = block[2 * k + 1];
    }
    return echoed;
}

void ReadWriteRead(SettingsRecord& record, WatchingScreen& screen, const Reply& reply)
{
    const Captions before = CaptionsOf(record);
    Receive(record, screen, reply);
    CheckDecoded(record, screen, reply, before);

    const Captions decoded = CaptionsOf(record);
    std::array<std::string, kCustomFieldCount> texts;
    for (const CustomFieldInfo& info : kCustomFields)
        texts[static_cast<std::size_t>(info.field)] = record.custom.Text(info.field);

    const SettingsBlock block = EncodeSettings(record);
    const Reply echoed = ReplyAfterWrite(record, reply, block);

    // Reading back what was written shows the same settings, except that
    // stock mode sends 0 for the boost and turbo values and an empty caption
    // (never set) goes out as its list's first entry.
    Receive(record, screen, echoed);
    CheckDecoded(record, screen, echoed, decoded);
    const bool stock = record.escMode == 0;
    for (const Parameter& p : kParameters) {
        if (p.replyByte >= 0 && p.source >= id::kFirstSlot && !(stock && p.zeroInStock)
            && !Before(decoded, p.source).empty())
            KEL_FUZZ_CHECK(record.Caption(p.source) == Before(decoded, p.source));
    }
    for (const CustomFieldInfo& info : kCustomFields)
        KEL_FUZZ_CHECK(record.custom.Text(info.field) == texts[static_cast<std::size_t>(info.field)]);
    KEL_FUZZ_CHECK(EncodeSettings(record) == block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WatchingScreen screen;
    SettingsRecord record(screen);
    for (std::size_t at = 0; at + kSettingsReplySize <= size; at += kSettingsReplySize) {
        Reply reply{};
        std::copy_n(data + at, reply.size(), reply.begin());
        ReadWriteRead(record, screen, reply);
    }
    return 0;
}

}  // namespace kel::fuzz
