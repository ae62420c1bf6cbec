#include "Clock.h"

#include <chrono>
#include <thread>

namespace kel {

std::int64_t SteadyClock::NowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::Sleep(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SteadyClock::BusyWait(int ms)
{
    // The window is not serviced meanwhile (that is the point of the wait),
    // but there is no reason to spin a core for it.
    Sleep(ms);
}

}  // namespace kel
