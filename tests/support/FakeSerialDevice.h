#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/SerialDevice.h"

namespace kel::test {

using Bytes = std::vector<std::uint8_t>;

// A scripted serial port on a virtual clock. Time passes only while a read
// waits, so a 2000 ms time-out costs nothing. Like the program box it echoes
// every written byte (unless echo is off) and then queues the responder's reply.
class FakeSerialDevice final : public SerialDevice {
public:
    struct Reply {
        Bytes bytes;
        int delayMs = 0;  // after the write
    };
    // Called for each write (after the echo is queued); returns the reply.
    using Responder = std::function<Reply(const Bytes& written)>;

    explicit FakeSerialDevice(VirtualClock& clock) : clock_(clock) {}

    // Script.
    bool echo = true;
    bool openFails = false;
    bool lineSettingsFail = false;
    int failWritesFrom = -1;  // the Nth write (0-based) and every later one fail
    Responder responder;

    // Queues bytes that arrive delayMs from now.
    void Feed(const Bytes& bytes, int delayMs = 0)
    {
        for (auto b : bytes)
            queue_.push_back({b, clock_.NowMs() + delayMs});
    }

    // Record.
    std::vector<Bytes> writes;  // one entry per Write call
    Bytes AllWritten() const
    {
        Bytes all;
        for (const auto& w : writes)
            all.insert(all.end(), w.begin(), w.end());
        return all;
    }
    int opens = 0, closes = 0, purges = 0;
    std::string openedDevice;

    // SerialDevice.
    bool Open(const std::string& device) override
    {
        ++opens;
        if (openFails)
            return false;
        open_ = true;
        openedDevice = device;
        return true;
    }
    bool SetLineSettings(std::uint32_t) override { return !lineSettingsFail; }
    void Close() override
    {
        ++closes;
        open_ = false;
    }
    bool IsOpen() const override { return open_; }
    bool Purge() override { return ++purges, DropArrived(); }
    bool PurgeReceive() override { return DropArrived(); }
    bool Write(const std::uint8_t* data, std::size_t count) override
    {
        const int index = static_cast<int>(writeCalls_++);
        if (!open_ || (failWritesFrom >= 0 && index >= failWritesFrom))
            return false;
        Bytes w(data, data + count);
        writes.push_back(w);
        if (echo)
            Feed(w);
        if (responder) {
            Reply r = responder(w);
            Feed(r.bytes, r.delayMs);
        }
        return true;
    }
    ReadResult Read(std::uint8_t* data, std::size_t count, int timeoutMs) override
    {
        const std::int64_t deadline = clock_.NowMs() + timeoutMs;
        if (queue_.size() >= count && (count == 0 || queue_[count - 1].at <= deadline)) {
            if (count > 0)
                clock_.AdvanceTo(queue_[count - 1].at);
            for (std::size_t i = 0; i < count; ++i, queue_.pop_front())
                data[i] = queue_.front().byte;
            return {true, count};
        }
        clock_.AdvanceTo(deadline);
        return {};  // cancelled: what arrived stays queued
    }

    std::size_t Pending() const { return queue_.size(); }

private:
    struct Timed {
        std::uint8_t byte;
        std::int64_t at;
    };
    bool DropArrived()
    {
        while (!queue_.empty() && queue_.front().at <= clock_.NowMs())
            queue_.pop_front();
        return true;
    }

    VirtualClock& clock_;
    std::deque<Timed> queue_;
    std::size_t writeCalls_ = 0;
    bool open_ = false;
};

}  // namespace kel::test
