// Ctrl-C, Ctrl-Break and closing the console on Windows. The handler runs on a
// thread of its own and only raises the flag; the engine sees it at its next
// safe point, as on POSIX systems.
#include <csignal>
#include <windows.h>

#include "Interrupt.h"

namespace kel::cli {

namespace {
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: RaiseInterrupt(SIGINT); return TRUE;
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT: RaiseInterrupt(SIGTERM); return TRUE;
    default: return FALSE;
    }
}
}  // namespace

void InstallInterruptHandlers()
{
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace kel::cli
