// kel: the desktop tool for the speed controller's program box.
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CKelApp.h"
#include "CommandLine.h"

using namespace kel::app;

namespace {
std::vector<std::string> Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

// Qt aborts with a long story when it finds no display; say it in one line.
bool DisplayReachable(int argc, char** argv)
{
#ifdef _WIN32
    return true;  // Windows always has its desktop
#endif
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "-platform" || std::string(argv[i]) == "--platform")
            return true;
    }
    return false;
}

int Answer(Request request)
{
    if (request == Request::Help)
        std::fputs(HelpText(), stdout);
    else
        std::printf("kel %s\n", KEL_VERSION);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    // Help and version need no display.
    const Request early = EarlyRequest(Arguments(argc, argv));
    if (early != Request::Run)
        return Answer(early);

    if (!DisplayReachable(argc, argv)) {
        std::fputs("kel: no display (DISPLAY is not set). On a terminal use kel-cli (kel-cli --help), "
                   "or run the window under xvfb-run.\n",
                   stderr);
        return 1;
    }
    CKelApp app(argc, argv);  // takes the toolkit's own options out of argv
    const ParsedCommandLine parsed = ParseCommandLine(Arguments(argc, argv));
    if (parsed.request == Request::Error) {
        std::fprintf(stderr, "kel: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.request != Request::Run)
        return Answer(parsed.request);
    return app.Run(parsed.options, sinceStart);
}
