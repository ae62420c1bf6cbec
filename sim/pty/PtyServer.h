#pragma once
#include <cstdint>
#include <deque>
#include <ostream>
#include <string>

#include "sim/DeviceModel.h"
#include "sim/pty/PseudoTerminal.h"

namespace kel::sim {

struct PtyServerOptions {
    std::string link;      // symbolic link kept pointing at the terminal ("" none)
    bool pace = false;     // 19200 baud 8N1 spacing of output bytes
    bool verbose = false;  // log the traffic
};

// Serves a DeviceModel on a pseudo-terminal in real time: bytes from the client
// go to the model as they arrive, the model's bytes go out when due (or, paced,
// no faster than the wire). An unplugged model closes the terminal; a replugged
// one gets a new terminal, announced like the first.
class PtyServer {
public:
    // Wire time of one byte at 19200 baud, 8 data bits, start and stop bit.
    static constexpr std::int64_t kByteTimeUs = 521;
    // After an unplug the terminal stays open this long, answering nothing, so
    // that bytes already sent reach the client before its terminal hangs up.
    static constexpr std::int64_t kUnplugGraceUs = 50'000;

    // Terminal paths are printed on `out` one per line; messages go to `log`.
    PtyServer(DeviceModel& model, PtyServerOptions options, std::ostream& out, std::ostream& log);

    // Serves until stopFd becomes readable. 0 on a clean stop, 1 on a failure
    // (told on the log).
    int Run(int stopFd);

private:
    struct Pending {
        std::uint8_t value;
        std::int64_t dueUs;   // when the model sent it
        std::int64_t slotUs;  // when it goes out
    };

    bool StartTerminal();
    void StopTerminal();
    bool LinkPathUsable();
    bool PointLink();
    void ReadInput();
    void CollectDue(std::int64_t nowUs);
    void Flush(std::int64_t nowUs);
    // Time until something is due, -1 for nothing.
    std::int64_t WaitUs(std::int64_t nowUs) const;
    // The flood fault: noise without end once enough bytes came in.
    bool Flooding() const;
    void Flood(std::int64_t nowUs);
    void LogBytes(const char* direction, const std::uint8_t* data, std::size_t count);
    std::int64_t NowUs() const;

    DeviceModel& model_;
    PtyServerOptions options_;
    std::ostream& out_;
    std::ostream& log_;
    PseudoTerminal terminal_;
    std::deque<Pending> pending_;
    std::int64_t lastSlotUs_ = 0;
    std::int64_t closeAtUs_ = -1;  // when an unplugged terminal closes
    int unplugsSeen_ = 0;
    bool blocked_ = false;  // the terminal took no more output; wait until it can
    std::int64_t startUs_ = 0;
};

}  // namespace kel::sim
