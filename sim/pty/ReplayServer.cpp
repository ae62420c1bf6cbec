#include "sim/pty/ReplayServer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace kel::sim {

ReplayServer::ReplayServer(TraceReplay& replay, bool verbose, std::ostream& out, std::ostream& log)
    : replay_(replay)
    , verbose_(verbose)
    , out_(out)
    , log_(log)
{}

int ReplayServer::Run(int stopFd)
{
    if (!terminal_.Open()) {
        log_ << "kel-sim: cannot open a pseudo-terminal: " << terminal_.Error() << std::endl;
        return 1;
    }
    out_ << terminal_.SlavePath() << std::endl;  // endl flushes: scripts wait for this line
    Send(replay_.Opening());
    for (;;) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {terminal_.MasterFd(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            log_ << "kel-sim: poll: " << std::strerror(errno) << std::endl;
            return 1;
        }
        if (fds[0].revents != 0)
            return 0;
        if (!(fds[1].revents & POLLIN))
            continue;
        std::uint8_t buffer[4096];
        const ssize_t n = read(terminal_.MasterFd(), buffer, sizeof buffer);
        if (n <= 0)
            continue;
        LogBytes("from PC", buffer, static_cast<std::size_t>(n));
        for (ssize_t i = 0; i < n; ++i) {
            const bool wasSilent = replay_.Silent();
            Send(replay_.Receive(buffer[i]));
            if (!wasSilent && replay_.Silent())
                log_ << "kel-sim: replay: " << replay_.Problem() << std::endl;
        }
        if (replay_.Done() && !replay_.Silent() && !toldDone_) {
            toldDone_ = true;
            log_ << "kel-sim: replay: every byte of the log was played" << std::endl;
        }
    }
}

bool ReplayServer::Send(const std::vector<std::uint8_t>& bytes)
{
    std::size_t sent = 0;
    // A client that stopped reading gets what fits; the rest is dropped after
    // a while rather than holding up the server.
    for (int stalls = 0; sent < bytes.size() && stalls < 20;) {
        const ssize_t n = write(terminal_.MasterFd(), bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (n < 0) {
            pollfd out{terminal_.MasterFd(), POLLOUT, 0};
            stalls += poll(&out, 1, 100) == 0 ? 1 : 0;
            continue;
        }
        sent += static_cast<std::size_t>(n);
    }
    LogBytes("to PC", bytes.data(), sent);
    return sent == bytes.size();
}

void ReplayServer::LogBytes(const char* direction, const std::uint8_t* data, std::size_t count)
{
    if (!verbose_ || count == 0)
        return;
    char text[4];
    log_ << "kel-sim: " << direction << ":";
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, " %02X", data[i]);
        log_ << text;
    }
    log_ << std::endl;
}

}  // namespace kel::sim
