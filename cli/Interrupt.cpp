#include "Interrupt.h"

#include <csignal>

#include "settings/ParameterTable.h"

namespace kel::cli {

namespace {
volatile std::sig_atomic_t g_signal = 0;
}  // namespace

void RaiseInterrupt(int signal)
{
    if (g_signal == 0)
        g_signal = signal;
}

int InterruptSignal()
{
    return g_signal;
}

std::string InterruptName()
{
    switch (g_signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "signal " + std::to_string(g_signal);
    }
}

int InterruptExitStatus()
{
    return 128 + g_signal;
}

}  // namespace kel::cli

namespace kel::cli {

namespace {

std::string PairNames(int from, int to)
{
    std::string names;
    for (int k = from; k < to; ++k) {
        std::string name(kParameterNames[static_cast<std::size_t>(k)]);
        while (name.ends_with(' '))
            name.pop_back();  // the last pair's name ends in a blank
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

std::string Of(const StopPoint& at, const char* what)
{
    return std::to_string(at.done) + " of " + std::to_string(at.total) + " " + what;
}

}  // namespace

std::string DescribeStop(const StopPoint& at, const std::string& file)
{
    switch (at.exchange) {
    case StopPoint::Exchange::SettingsWrite:
        if (at.done == 0)
            return "no setting was written; the ESC keeps its settings";
        return "the ESC took " + Of(at, "settings") + " (" + PairNames(0, at.done) + ") but not the rest ("
               + PairNames(at.done, at.total)
               + "), so it holds a mix of old and new settings: check them with 'kel-cli read' and run the same "
                 "'kel-cli write' again";
    case StopPoint::Exchange::EscUpdate:
        if (!at.deviceTouched)
            return "nothing was sent; the ESC keeps its firmware";
        return "the ESC took " + Of(at, "records")
               + " and waits in its boot loader without a whole firmware: "
                 "flash it again with 'kel-cli flash-esc --fix "
               + file + "' (in the window: FixMode, then Update); 'kel-cli detect --as fix' shows it";
    case StopPoint::Exchange::BoxUpdate:
        if (!at.deviceTouched)
            return "nothing was sent; the program box keeps its firmware";
        return "the program box took " + Of(at, "blocks")
               + " and its firmware is incomplete: 'kel-cli detect --as "
                 "box' finds it again, then flash it again with 'kel-cli flash-box "
               + file + "' (in the window: ProgramBox, then Update)";
    case StopPoint::Exchange::None: break;
    }
    return "nothing was changed on the device";
}

}  // namespace kel::cli
