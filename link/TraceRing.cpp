#include "TraceRing.h"

namespace kel {

TraceRing::TraceRing(std::size_t capacity) : slots_(capacity) {}

void TraceRing::Record(const TraceByte* bytes, std::size_t count, ExchangeName::Current exchange)
{
    if (slots_.empty())
        return;
    for (std::size_t i = 0; i < count; ++i) {
        slots_[next_] = {bytes[i], exchange};
        if (++next_ == slots_.size()) {
            next_ = 0;
            full_ = true;
        }
    }
}

template <typename Visit>
void TraceRing::ForEach(Visit visit) const
{
    const std::size_t first = full_ ? next_ : 0;
    for (std::size_t i = 0; i < Size(); ++i)
        visit(slots_[(first + i) % slots_.size()]);
}

std::vector<TraceByte> TraceRing::Bytes() const
{
    std::vector<TraceByte> bytes;
    bytes.reserve(Size());
    ForEach([&](const Slot& slot) { bytes.push_back(slot.byte); });
    return bytes;
}

std::string TraceRing::Text(std::string_view program) const
{
    std::string text = TraceRunLine(program);
    TraceWriter writer;
    ForEach([&](const Slot& slot) { writer.Append(text, slot.byte, slot.exchange); });
    return text;
}

}  // namespace kel
