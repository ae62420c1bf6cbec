// SIGINT and SIGTERM on POSIX systems. SA_RESTART: system calls resume after
// the handler, so a wait in progress ends as it would have, and the engine
// sees the flag at its next safe point.
#include <csignal>

#include "Interrupt.h"

namespace kel::cli {

namespace {
void OnInterrupt(int signal)
{
    RaiseInterrupt(signal);
}
}  // namespace

void InstallInterruptHandlers()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace kel::cli
