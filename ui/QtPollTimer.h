#pragma once
#include <QTimer>
#include <functional>

#include "link/PollTimer.h"

namespace kel::ui {

// Timer 1 of the main window: the engine starts and stops it, each timeout
// runs one poll tick.
class QtPollTimer final : public PollTimer {
public:
    explicit QtPollTimer(std::function<void()> onTick)
    {
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
    }
    void Start(int periodMs) override { timer_.start(periodMs); }
    void Stop() override { timer_.stop(); }

    bool IsActive() const { return timer_.isActive(); }
    int PeriodMs() const { return timer_.interval(); }

private:
    QTimer timer_;
};

}  // namespace kel::ui
