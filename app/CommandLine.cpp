#include "CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

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

namespace {

// The help above is ours (Qt's generated one cannot say as much), so the
// parser only learns the names; a value option says what it needs when
// given none.
struct Option {
    QStringList names;
    const char* value;  // nullptr for a switch
    const char* needs;  // the message when the value is missing or empty
};

const Option kOptions[] = {
    {{"h", "help"}, nullptr, nullptr},
    {{"version"}, nullptr, nullptr},
    {{"simulate"}, nullptr, nullptr},
    {{"report-startup"}, nullptr, nullptr},
    {{"port"}, "DEVICE", "--port needs a device, for example --port /dev/ttyUSB0"},
    {{"trace"}, "FILE", "--trace needs a file, for example --trace kel-exchange.log"},
};

struct Parser {
    QCommandLineParser qt;
    bool parsed = false;

    explicit Parser(const std::vector<std::string>& args)
    {
        // "-platform" is one of Qt's own options, not -p -l -a ...
        qt.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const Option& option : kOptions)
            qt.addOption(option.value ? QCommandLineOption(option.names, {}, option.value)
                                      : QCommandLineOption(option.names));
        QStringList list{"kel"};
        for (const std::string& arg : args)
            list << QString::fromStdString(arg);
        parsed = qt.parse(list);
    }

    Request Asked() const
    {
        if (qt.isSet("help"))
            return Request::Help;
        if (qt.isSet("version"))
            return Request::Version;
        return Request::Run;
    }

    // The argument as the user typed it, for a name the parser did not know.
    static std::string Typed(const std::vector<std::string>& args, const QString& name)
    {
        const std::string bare = name.toStdString();
        for (const std::string& arg : args) {
            const std::size_t start = arg.find_first_not_of('-');
            const std::string stripped = start == std::string::npos ? "" : arg.substr(start);
            if (stripped == bare || stripped.starts_with(bare + "="))
                return arg;
        }
        return "--" + bare;
    }
};

}  // namespace

Request EarlyRequest(const std::vector<std::string>& args)
{
    // Qt's own options are still in the list here: unknown names are no error yet.
    return Parser(args).Asked();
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    ParsedCommandLine parsed;
    auto fail = [&parsed](std::string error) {
        parsed.request = Request::Error;
        parsed.error = std::move(error);
        return parsed;
    };
    const Parser parser(args);
    const QCommandLineParser& qt = parser.qt;
    if (!qt.unknownOptionNames().isEmpty())
        return fail("unknown argument '" + Parser::Typed(args, qt.unknownOptionNames().first()) + "' (see kel --help)");
    if (!qt.positionalArguments().isEmpty())
        return fail("unknown argument '" + qt.positionalArguments().first().toStdString() + "' (see kel --help)");
    parsed.request = parser.Asked();
    if (parsed.request != Request::Run)
        return parsed;
    for (const Option& option : kOptions) {
        // A value option given last with nothing after it is not "set".
        const bool dangling =
            !parser.parsed && !args.empty() && args.back() == "--" + option.names.first().toStdString();
        if (option.value && (dangling || (qt.isSet(option.names.first()) && qt.value(option.names.first()).isEmpty())))
            return fail(option.needs);
    }
    parsed.options.simulate = qt.isSet("simulate");
    parsed.options.reportStartup = qt.isSet("report-startup");
    if (qt.isSet("port"))
        parsed.options.port = qt.value("port").toStdString();
    if (qt.isSet("trace"))
        parsed.options.trace = qt.value("trace").toStdString();
    if (parsed.options.simulate && parsed.options.port)
        return fail("--port and --simulate exclude each other");
    return parsed;
}

}  // namespace kel::app
