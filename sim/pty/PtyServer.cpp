#include "sim/pty/PtyServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kel::sim {

PtyServer::PtyServer(DeviceModel& model, PtyServerOptions options, std::ostream& out, std::ostream& log)
    : model_(model)
    , options_(std::move(options))
    , out_(out)
    , log_(log)
{
    startUs_ = NowUs();
}

std::int64_t PtyServer::NowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count() - startUs_;
}

int PtyServer::Run(int stopFd)
{
    if (!LinkPathUsable() || !StartTerminal())
        return 1;
    for (;;) {
        std::int64_t now = NowUs();
        if (!terminal_.IsOpen() && model_.IsPresent(now / 1000)) {
            log_ << "kel-sim: the box is plugged in again" << std::endl;
            if (!StartTerminal())
                return 1;
        }
        if (terminal_.IsOpen()) {
            if (Flooding()) {
                Flood(now);
            } else {
                CollectDue(now);
                Flush(now);
            }
        }

        pollfd fds[2] = {{stopFd, POLLIN, 0}, {terminal_.MasterFd(), POLLIN, 0}};
        if (blocked_ || Flooding())
            fds[1].events |= POLLOUT;
        const nfds_t count = terminal_.IsOpen() ? 2 : 1;
        const std::int64_t waitUs = WaitUs(NowUs());
        timespec timeout{static_cast<time_t>(waitUs / 1'000'000), static_cast<long>(waitUs % 1'000'000) * 1000};
        if (ppoll(fds, count, waitUs < 0 ? nullptr : &timeout, nullptr) < 0 && errno != EINTR) {
            log_ << "kel-sim: poll: " << std::strerror(errno) << std::endl;
            StopTerminal();
            return 1;
        }
        if (fds[0].revents != 0)
            break;
        if (count == 2 && (fds[1].revents & POLLOUT))
            blocked_ = false;
        if (count == 2 && (fds[1].revents & POLLIN))
            ReadInput();
        if (count == 2 && (fds[1].revents & (POLLHUP | POLLERR)) && !(fds[1].revents & POLLIN)) {
            log_ << "kel-sim: the terminal failed; opening a new one" << std::endl;
            StopTerminal();
            if (!StartTerminal())
                return 1;
        }
        now = NowUs();
        if (terminal_.IsOpen() && closeAtUs_ < 0 && model_.Unplugs() != unplugsSeen_) {
            unplugsSeen_ = model_.Unplugs();
            CollectDue(now);
            Flush(std::numeric_limits<std::int64_t>::max());
            closeAtUs_ = now + kUnplugGraceUs;
        }
        if (closeAtUs_ >= 0 && now >= closeAtUs_) {
            StopTerminal();
            log_ << "kel-sim: the box is unplugged" << std::endl;
        }
    }
    StopTerminal();
    return 0;
}

bool PtyServer::StartTerminal()
{
    if (!terminal_.Open()) {
        log_ << "kel-sim: cannot open a pseudo-terminal: " << terminal_.Error() << std::endl;
        return false;
    }
    pending_.clear();
    blocked_ = false;
    // Nothing that was due while no terminal existed reaches the new one.
    model_.DropArrived(NowUs() / 1000);
    if (!PointLink())
        return false;
    out_ << terminal_.SlavePath() << std::endl;  // endl flushes: scripts wait for this line
    return true;
}

void PtyServer::StopTerminal()
{
    if (!terminal_.IsOpen())
        return;
    if (!options_.link.empty()) {
        char target[4096];
        const ssize_t n = readlink(options_.link.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == terminal_.SlavePath())
            unlink(options_.link.c_str());
    }
    terminal_.Close();
    pending_.clear();
    closeAtUs_ = -1;
}

bool PtyServer::LinkPathUsable()
{
    struct stat st {};
    if (options_.link.empty() || lstat(options_.link.c_str(), &st) != 0 || S_ISLNK(st.st_mode))
        return true;
    log_ << "kel-sim: " << options_.link << " exists and is not a symbolic link; not replacing it" << std::endl;
    return false;
}

bool PtyServer::PointLink()
{
    if (options_.link.empty())
        return true;
    // A new link under a temporary name, renamed over the old one: the path never dangles.
    const std::string temporary = options_.link + ".kel-sim-new";
    unlink(temporary.c_str());
    if (symlink(terminal_.SlavePath().c_str(), temporary.c_str()) != 0
        || rename(temporary.c_str(), options_.link.c_str()) != 0) {
        log_ << "kel-sim: cannot link " << options_.link << ": " << std::strerror(errno) << std::endl;
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

void PtyServer::ReadInput()
{
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = read(terminal_.MasterFd(), buffer, sizeof buffer);
        if (n <= 0)
            return;  // EAGAIN: all read
        LogBytes("from PC", buffer, static_cast<std::size_t>(n));
        model_.Receive(buffer, static_cast<std::size_t>(n), NowUs() / 1000);
    }
}

void PtyServer::CollectDue(std::int64_t nowUs)
{
    const std::int64_t nowMs = nowUs / 1000;
    const std::size_t first = pending_.size();
    while (model_.NextArrivalMs() && *model_.NextArrivalMs() <= nowMs) {
        const std::int64_t dueUs = *model_.NextArrivalMs() * 1000;
        const std::uint8_t value = model_.Take(1).front();
        const std::int64_t slot = options_.pace ? std::max(dueUs, lastSlotUs_ + kByteTimeUs) : dueUs;
        lastSlotUs_ = slot;
        pending_.push_back({value, dueUs, slot});
    }
    // Paced, bytes that were due together go out together once the last of
    // them is through the wire, as a USB bridge hands them over in one packet.
    for (std::size_t i = pending_.size(); i-- > first;) {
        if (i + 1 < pending_.size() && pending_[i + 1].dueUs == pending_[i].dueUs)
            pending_[i].slotUs = pending_[i + 1].slotUs;
    }
}

void PtyServer::Flush(std::int64_t nowUs)
{
    if (blocked_ || pending_.empty())
        return;
    std::uint8_t buffer[4096];
    std::size_t count = 0;
    while (count < pending_.size() && count < sizeof buffer && pending_[count].slotUs <= nowUs) {
        buffer[count] = pending_[count].value;
        ++count;
    }
    if (count == 0)
        return;
    const ssize_t n = write(terminal_.MasterFd(), buffer, count);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            blocked_ = true;
        return;
    }
    LogBytes("to PC", buffer, static_cast<std::size_t>(n));
    pending_.erase(pending_.begin(), pending_.begin() + n);
    if (static_cast<std::size_t>(n) < count)
        blocked_ = true;
}

bool PtyServer::Flooding() const
{
    const auto after = model_.Options().faults.Value(FaultKind::Flood);
    return after && model_.ReceivedBytes().size() >= static_cast<std::size_t>(*after);
}

void PtyServer::Flood(std::int64_t nowUs)
{
    // The noise drowns every echo and reply.
    model_.DropArrived(nowUs / 1000);
    pending_.clear();
    static const std::vector<std::uint8_t> kNoise(4096, 0x55);
    // As much as the terminal takes now; the poll wakes us when it takes more.
    while (write(terminal_.MasterFd(), kNoise.data(), kNoise.size()) > 0) {}
}

std::int64_t PtyServer::WaitUs(std::int64_t nowUs) const
{
    std::int64_t due = -1;
    auto consider = [&](std::int64_t atUs) { due = due < 0 ? atUs : std::min(due, atUs); };
    if (!pending_.empty() && !blocked_)
        consider(pending_.front().slotUs);
    if (terminal_.IsOpen() && model_.NextArrivalMs())
        consider(*model_.NextArrivalMs() * 1000);
    if (!terminal_.IsOpen() && model_.ReplugAtMs())
        consider(*model_.ReplugAtMs() * 1000);
    if (closeAtUs_ >= 0)
        consider(closeAtUs_);
    return due < 0 ? -1 : std::max<std::int64_t>(0, due - nowUs);
}

void PtyServer::LogBytes(const char* direction, const std::uint8_t* data, std::size_t count)
{
    if (!options_.verbose || count == 0)
        return;
    char text[4];
    log_ << "kel-sim: " << NowUs() / 1000 << " ms " << direction << ":";
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, " %02X", data[i]);
        log_ << text;
    }
    log_ << std::endl;
}

}  // namespace kel::sim
