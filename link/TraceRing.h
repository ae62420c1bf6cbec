#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "TracingDevice.h"

namespace kel {

// The last bytes of the exchange, kept in memory so the window can save them
// when something went wrong. A fixed array written round: no allocation per byte.
class TraceRing final : public TraceSink {
public:
    static constexpr std::size_t kCapacity = 20'000;

    explicit TraceRing(std::size_t capacity = kCapacity);

    void Record(const TraceByte* bytes, std::size_t count, ExchangeName::Current exchange) override;

    std::size_t Size() const { return full_ ? slots_.size() : next_; }
    // The kept bytes, oldest first.
    std::vector<TraceByte> Bytes() const;
    // The kept bytes as an exchange log, under a run line naming `program`.
    std::string Text(std::string_view program) const;

private:
    struct Slot {
        TraceByte byte;
        ExchangeName::Current exchange;
    };
    template <typename Visit>
    void ForEach(Visit visit) const;

    std::vector<Slot> slots_;
    std::size_t next_ = 0;
    bool full_ = false;
};

}  // namespace kel
