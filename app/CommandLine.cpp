#include "CommandLine.h"

namespace kel::app {

const char* HelpText()
{
    return R"(Usage: kel [--simulate | --port DEVICE] [--trace FILE] [--report-startup]

Configure the speed controller (ESC) of an RC car through its USB program box.
Without options the window looks for the program box (USB 10c4:ea60) on every
poll, so it may be plugged in at any time.

Options:
  --simulate        talk to the built-in simulated program box and ESC
  --port DEVICE     use this serial device instead of looking for the box
  --trace FILE      append every byte of the exchange to FILE with its time
                    and direction, as kel-cli --trace does (the window's menu
                    saves the last 20,000 bytes on request either way)
  --report-startup  print to standard error how long the window took to
                    appear (start of the program to its first paint)
  --help            show this help and exit
  --version         show the version and exit

The usual Qt options (-platform, -style, ...) are understood as well.
)";
}

Request EarlyRequest(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h")
            return Request::Help;
        if (arg == "--version")
            return Request::Version;
        if (arg == "--port" || arg == "--trace")
            break;  // what follows is a name, whatever it looks like
    }
    return Request::Run;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    ParsedCommandLine parsed;
    auto fail = [&parsed](std::string error) {
        parsed.request = Request::Error;
        parsed.error = std::move(error);
        return parsed;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.request = Request::Help;
            return parsed;
        }
        if (arg == "--version") {
            parsed.request = Request::Version;
            return parsed;
        }
        if (arg == "--simulate") {
            parsed.options.simulate = true;
        } else if (arg == "--report-startup") {
            parsed.options.reportStartup = true;
        } else if (arg == "--port") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return fail("--port needs a device, for example --port /dev/ttyUSB0");
            parsed.options.port = args[++i];
        } else if (arg == "--trace") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return fail("--trace needs a file, for example --trace kel-exchange.log");
            parsed.options.trace = args[++i];
        } else if (arg.rfind("--port=", 0) == 0) {
            if (arg.size() == 7)
                return fail("--port needs a device, for example --port /dev/ttyUSB0");
            parsed.options.port = arg.substr(7);
        } else {
            return fail("unknown argument '" + arg + "' (see kel --help)");
        }
    }
    if (parsed.options.simulate && parsed.options.port)
        return fail("--port and --simulate exclude each other");
    return parsed;
}

}  // namespace kel::app
