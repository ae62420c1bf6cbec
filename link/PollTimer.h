#pragma once

namespace kel {

// Timer 1 of the main window: a periodic tick that runs one poll.
// A QTimer in the window, a loop in the command-line tool, a recorder in tests.
class PollTimer {
public:
    virtual ~PollTimer() = default;
    virtual void Start(int periodMs) = 0;  // (re)starts with this period
    virtual void Stop() = 0;
};

}  // namespace kel
