#pragma once
#include <cstdint>

namespace kel {

// Time as the engine sees it. Every wait of an exchange goes through here, so
// tests can swap in a virtual clock and a 2000 ms time-out costs nothing.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::int64_t NowMs() const = 0;
    // Plain sleep (the protocol's Sleep calls).
    virtual void Sleep(int ms) = 0;
    // The link's BusyWait: blocks the caller, services nothing. It need not
    // burn a core, so the steady clock simply sleeps.
    virtual void BusyWait(int ms) = 0;
};

// Real time from std::chrono::steady_clock.
class SteadyClock final : public Clock {
public:
    std::int64_t NowMs() const override;
    void Sleep(int ms) override;
    void BusyWait(int ms) override;
};

// Time that passes only when somebody waits. Used by unit tests and by the
// in-process simulator under test.
class VirtualClock final : public Clock {
public:
    std::int64_t NowMs() const override { return now_; }
    void Sleep(int ms) override { Advance(ms); }
    void BusyWait(int ms) override { Advance(ms); }
    void Advance(std::int64_t ms)
    {
        if (ms > 0)
            now_ += ms;
    }
    void AdvanceTo(std::int64_t t)
    {
        if (t > now_)
            now_ = t;
    }

private:
    std::int64_t now_ = 0;
};

}  // namespace kel
