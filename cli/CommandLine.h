#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kel::cli {

using Args = std::vector<std::string>;

// A command's words after the command name: its operands in order and the
// options it was given (a switch maps to "").
struct Invocation {
    std::string command;
    Args operands;
    std::map<std::string, std::string> options;

    bool Has(const std::string& name) const { return options.contains(name); }
    std::optional<std::string> Value(const std::string& name) const
    {
        const auto it = options.find(name);
        return it == options.end() ? std::nullopt : std::optional(it->second);
    }
};

struct ParsedCli {
    enum class Request { Run, Help, Version, Error } request = Request::Run;
    std::string error;  // for Error: the line for the user
    std::optional<std::string> port;
    bool simulate = false;
    bool json = false;
    std::optional<std::string> trace;
    Invocation invocation;
    const struct CommandSyntax* command = nullptr;  // for Run
};

struct GlobalOptions;

// A command: what it takes, for the parser (its options and how many
// operands), and what runs it.
struct CommandSyntax {
    const char* name;
    int (*run)(const GlobalOptions& options, const Invocation& given);
    std::vector<std::string> switches;  // e.g. "verify"
    std::vector<std::string> valued;    // e.g. "mode" (--mode VALUE)
    std::size_t minOperands;
    std::size_t maxOperands;
    const char* missing;  // too few operands; nullptr when none can be missing
    const char* extra;    // too many; nullptr: "COMMAND: unexpected argument 'X'"
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// The program's arguments, argv[0] first. Global options may stand anywhere;
// an unknown option after the command counts as one of its operands, which
// is what the command's own message then speaks of.
ParsedCli ParseCli(const std::vector<std::string>& argv, const std::vector<CommandSyntax>& commands);

}  // namespace kel::cli
