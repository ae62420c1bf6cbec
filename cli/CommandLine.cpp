#include "CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>

namespace kel::cli {

namespace {

// Values that are missing or empty: what each global option needs.
const std::map<std::string, std::string> kNeeds = {
    {"port", "--port needs a device"},
    {"trace", "--trace needs a file"},
};

std::string Needs(const std::string& name)
{
    const auto it = kNeeds.find(name);
    return it != kNeeds.end() ? it->second : "--" + name + " needs a value";
}

std::string Bare(const std::string& arg)
{
    const std::size_t start = arg.find_first_not_of('-');
    const std::string name = start == std::string::npos ? "" : arg.substr(start);
    return name.substr(0, name.find('='));
}

// Where the user typed an option the parser reports by name, and how.
std::pair<std::size_t, std::string> Typed(const std::vector<std::string>& argv, const std::string& name)
{
    for (std::size_t i = 1; i < argv.size(); ++i) {
        if (argv[i].starts_with("-") && Bare(argv[i]) == name)
            return {i, argv[i]};
    }
    return {argv.size(), "--" + name};
}

const std::vector<std::string> kGlobalSwitches = {"simulate", "json", "help", "h", "version"};
const std::vector<std::string> kGlobalValued = {"port", "trace"};

bool Contains(const std::vector<std::string>& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

// Arguments are bytes, a file name need not be UTF-8: one character per
// byte, so that what comes back out of the parser is what was typed.
QString Chars(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string Bytes(const QString& chars)
{
    return chars.toLatin1().toStdString();
}

}  // namespace

ParsedCli ParseCli(const std::vector<std::string>& argv, const std::vector<CommandSyntax>& commands)
{
    ParsedCli parsed;
    auto fail = [&parsed](std::string error) {
        parsed.request = ParsedCli::Request::Error;
        parsed.error = std::move(error);
        return parsed;
    };

    // Every command's options are known to the parser, so that a value
    // after "--mode" is never taken for an operand; which command may have
    // which is checked below.
    QCommandLineParser qt;
    qt.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    std::vector<std::string> switches = kGlobalSwitches, valued = kGlobalValued;
    for (const CommandSyntax& c : commands) {
        switches.insert(switches.end(), c.switches.begin(), c.switches.end());
        valued.insert(valued.end(), c.valued.begin(), c.valued.end());
    }
    // Commands may share an option (write and defaults take --verify).
    for (std::vector<std::string>* names : {&switches, &valued}) {
        std::sort(names->begin(), names->end());
        names->erase(std::unique(names->begin(), names->end()), names->end());
    }
    for (const std::string& name : switches)
        qt.addOption(QCommandLineOption(Chars(name)));
    for (const std::string& name : valued)
        qt.addOption(QCommandLineOption(Chars(name), {}, "VALUE"));
    QStringList list;
    for (const std::string& arg : argv)
        list << Chars(arg);
    const bool complete = qt.parse(list);

    if (qt.isSet("help") || qt.isSet("h")) {
        parsed.request = ParsedCli::Request::Help;
        return parsed;
    }
    if (qt.isSet("version")) {
        parsed.request = ParsedCli::Request::Version;
        return parsed;
    }
    // The parser leaves a value option given last out of the set ones.
    if (!complete && argv.size() > 1 && Contains(valued, Bare(argv.back())) && argv.back().starts_with("-"))
        return fail(Needs(Bare(argv.back())));

    const QStringList positional = qt.positionalArguments();
    const std::size_t commandAt =
        positional.isEmpty() ? argv.size()
                             : std::find(argv.begin() + 1, argv.end(), Bytes(positional.first())) - argv.begin();
    Args unknownAfter;
    for (const QString& name : qt.unknownOptionNames()) {
        const auto [at, typed] = Typed(argv, Bytes(name));
        if (at < commandAt)
            return fail("unknown option '" + typed + "'");
        unknownAfter.push_back(typed);
    }
    for (const std::string& name : kGlobalValued) {
        if (qt.isSet(Chars(name)) && qt.value(Chars(name)).isEmpty())
            return fail(Needs(name) + (name == "port" ? ", not an empty name" : ""));
    }
    if (qt.isSet("port"))
        parsed.port = Bytes(qt.value("port"));
    if (qt.isSet("trace"))
        parsed.trace = Bytes(qt.value("trace"));
    parsed.simulate = qt.isSet("simulate");
    parsed.json = qt.isSet("json");
    if (parsed.simulate && parsed.port)
        return fail("--port and --simulate exclude each other");
    if (positional.isEmpty())
        return fail("no command given");

    Invocation& invocation = parsed.invocation;
    invocation.command = Bytes(positional.first());
    const auto syntax = std::find_if(commands.begin(), commands.end(),
                                     [&](const CommandSyntax& c) { return invocation.command == c.name; });
    if (syntax == commands.end())
        return fail("unknown command '" + invocation.command + "'");
    for (const QString& qname : qt.optionNames()) {
        const std::string name = Bytes(qname);
        if (Contains(kGlobalSwitches, name) || Contains(kGlobalValued, name))
            continue;
        if (Contains(syntax->switches, name))
            invocation.options[name] = "";
        else if (Contains(syntax->valued, name))
            invocation.options[name] = Bytes(qt.value(qname));
        else
            unknownAfter.push_back(Typed(argv, name).second);
    }
    for (qsizetype i = 1; i < positional.size(); ++i)
        invocation.operands.push_back(Bytes(positional[i]));

    const std::size_t given = invocation.operands.size() + unknownAfter.size();
    if (given < syntax->minOperands)
        return fail(syntax->missing);
    if (given > syntax->maxOperands && syntax->extra)
        return fail(syntax->extra);
    if (!unknownAfter.empty() || given > syntax->maxOperands) {
        const std::string first =
            unknownAfter.empty() ? invocation.operands[syntax->maxOperands] : unknownAfter.front();
        return fail(invocation.command + ": unexpected argument '" + first + "'");
    }
    parsed.command = &*syntax;
    return parsed;
}

}  // namespace kel::cli
