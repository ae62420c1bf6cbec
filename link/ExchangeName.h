#pragma once
#include <cstdint>

namespace kel {

// The exchange in progress, for the exchange log. Each exchange names itself
// where it starts ("poll", "read settings", ...) with one of these on its stack;
// the name holds until it leaves scope, and an enclosing name comes back.
// Costs two stores when nobody records the exchange.
struct CurrentExchange {
    const char* name = "";     // a string literal: "" outside any exchange
    std::uint64_t serial = 0;  // tells two polls in a row apart
};

class ExchangeName {
public:
    using Current = CurrentExchange;

    explicit ExchangeName(const char* name) : previous_(current_) { current_ = {name, ++started_}; }
    ~ExchangeName() { current_ = previous_; }
    ExchangeName(const ExchangeName&) = delete;
    ExchangeName& operator=(const ExchangeName&) = delete;

    static Current Now() { return current_; }

private:
    Current previous_;
    static thread_local inline Current current_{};
    static thread_local inline std::uint64_t started_ = 0;
};

}  // namespace kel
