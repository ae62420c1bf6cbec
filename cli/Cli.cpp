// kel-cli's command line: options, commands, and the outcome of the run.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Cli.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "Json.h"
#include "Output.h"

namespace kel::cli {

namespace {

const char* const kHelp = R"(Usage: kel-cli [--port DEVICE | --simulate] [--json] [--trace FILE] COMMAND [ARGS...]

Configure the speed controller (ESC) of an RC car through its USB program box.

Global options:
  --port DEVICE   use this serial device instead of looking for the program box
                  (USB 10c4:ea60)
  --simulate      talk to the built-in simulated program box and ESC
  --json          print the outcome as one JSON object on standard output: the
                  result, or {"error": {"message": ..., "exit": N, ...}}
  --trace FILE    append every byte of the exchange to FILE, one line each with
                  its time and direction ("  153 ms  > D8" written, "< D8"
                  read), under "# read settings"-style exchange names;
                  kel-sim --replay FILE answers from such a file
  --help          show this help and exit
  --version       show the version and exit

Commands:
  ports                       list serial ports, marking program boxes
  detect [--as esc|box|fix]   poll as the device buttons would (default esc) and
                              print what answers and its version
  read                        connect in ESC mode, read the settings and print them
  write [LABEL=VALUE ...] [--mode stock|MOD] [--profile FILE] [--verify]
                              connect and read, then load the profile FILE (if
                              given), set the MODE switch (if given), set each
                              LABEL to VALUE, and apply the settings. LABEL is
                              a parameter as the pages show it ("Power Level",
                              "Drag Brake", ...) or "Initial Brake custom",
                              "Drag Brake custom", "Low volt cut custom". VALUE
                              is an entry of its list (any letter case), #N for
                              entry N, or a custom field's text ("25%", "3.6v")
  defaults [--verify]         restore the ESC's factory settings and print them
                              --verify (write, defaults): read the settings
                              back after writing and compare them with what
                              was meant; print "verified", or each setting that
                              did not take with both values, and exit 1
  diff A [B]                  compare two sets of settings, A and B each a
                              profile FILE, esc (the connected ESC) or factory
                              (what defaults restores; it names no mode and no
                              custom numbers, so those are not compared);
                              B defaults to esc. Prints each setting that
                              differs, in page order, with both values, and
                              exits 1; prints nothing and exits 0 when they are
                              the same. A profile of another firmware version is
                              compared all the same, after a warning line
  backups                     list the backups of the ESC's settings, newest
                              first: before every change of the ESC (write,
                              defaults, flash-esc, and the window's Apply,
                              Default Settings and update) the settings read
                              from it are saved as a profile in the data folder
                              (Linux: ~/.local/share/Kel/backups; the newest 50
                              are kept). With --port or --simulate each is
                              compared with the ESC's settings, as diff does.
                              Bring one back with write --profile FILE
  profile show FILE           decode a .cfg profile file and print it
  profile save FILE           connect, read and save the settings to FILE
                              (exactly that name)
  flash-esc [--fix] FILE      update the ESC's firmware from a .zrv file (the
                              ESC found in ESC mode, or in its boot loader
                              with --fix)
  flash-box FILE              update the program box's firmware from a .xup file
                              Both run the offline check first: a file with an
                              error is refused (exit 3) before a byte is sent
  check FILE                  check a .zrv or .xup file offline and list every
                              problem with its line or offset; exit 1 when it
                              would not flash as written
Files (profiles, .zrv, .xup) are read only when they are regular files of a
size their kind can have (a profile 31 bytes, a .xup 131,074, a .zrv
3,801,373); a FIFO, a device or a folder is refused at once.

Messages of the device exchanges go to standard error as "CAPTION: TEXT".

Examples:
  kel-cli write "Power Level=Level 5" --verify
  kel-cli diff race.cfg          (race.cfg against the connected ESC)
  kel-cli diff esc factory       (what differs from the factory settings)
  kel-cli --port /dev/ttyUSB0 backups   (each backup against the ESC)
  kel-cli --trace box.log read   (box.log: what went over the wire)

Exit status: 0 done; 1 the device exchange failed or nothing answered, or
(diff, --verify) the settings differ; 2 wrong usage; 3 a file could not be
read or has the wrong size or form; 130/143 stopped by Ctrl-C/SIGTERM at a
safe point (a line says what the device holds now and what to do).
)";

// Each command's syntax is checked by the command line before it runs.
const std::vector<CommandSyntax>& CliCommands()
{
    constexpr const char* kDiffTakes = "diff takes A [B]: each a profile FILE, esc or factory (B defaults to esc)";
    constexpr const char* kProfileTakes = "profile takes 'show FILE' or 'save FILE'";
    constexpr const char* kFlashBoxTakes = "flash-box needs exactly one .xup file";
    constexpr const char* kCheckTakes = "check needs exactly one .zrv or .xup file";
    static const std::vector<CommandSyntax> commands = {
        {"ports", RunPorts, {}, {}, 0, 0, nullptr, "ports takes no arguments"},
        {"detect", RunDetect, {}, {"as"}, 0, 0, nullptr, nullptr},
        {"read", RunRead, {}, {}, 0, 0, nullptr, "read takes no arguments"},
        {"write", RunWrite, {"verify"}, {"mode", "profile"}, 0, kAnyNumber, nullptr, nullptr},
        {"defaults", RunDefaults, {"verify"}, {}, 0, 0, nullptr, "defaults takes no arguments but --verify"},
        {"profile", RunProfile, {}, {}, 2, 2, kProfileTakes, kProfileTakes},
        {"diff", RunDiff, {}, {}, 1, 2, kDiffTakes, kDiffTakes},
        {"backups",
         RunBackups,
         {},
         {},
         0,
         0,
         nullptr,
         "backups takes no arguments (give --port or --simulate to compare with the ESC)"},
        {"flash-esc", RunFlashEsc, {"fix"}, {}, 1, 1, "flash-esc needs a .zrv file", nullptr},
        {"flash-box", RunFlashBox, {}, {}, 1, 1, kFlashBoxTakes, kFlashBoxTakes},
        {"check", RunCheck, {}, {}, 1, 1, kCheckTakes, kCheckTakes},
    };
    return commands;
}

int Dispatch(int argc, char** argv)
{
    const ParsedCli parsed = ParseCli(std::vector<std::string>(argv, argv + argc), CliCommands());
    switch (parsed.request) {
    case ParsedCli::Request::Help:
        if (output::Json())
            output::PrintJson("{\"help\": " + JsonString(kHelp) + "}");
        else
            std::fputs(kHelp, stdout);
        return kExitDone;
    case ParsedCli::Request::Version:
        if (output::Json())
            output::PrintJson(std::string("{\"version\": \"") + KEL_VERSION + "\"}");
        else
            std::printf("kel-cli %s\n", KEL_VERSION);
        return kExitDone;
    case ParsedCli::Request::Error: return UsageError(parsed.error);
    case ParsedCli::Request::Run: break;
    }
    GlobalOptions options;
    options.port = parsed.port;
    options.simulate = parsed.simulate;
    options.json = parsed.json;
    const std::string& command = parsed.invocation.command;
    if (parsed.trace) {
        // Opened before anything goes to the device: a log that cannot be kept
        // is known before the exchange it was meant to record.
        options.trace =
            std::make_shared<TraceFile>(*parsed.trace, std::string("kel-cli ") + KEL_VERSION + " " + command,
                                        [](const std::string& text) { output::Complain(text); });
        if (!options.trace->Open()) {
            output::Complain(options.trace->Error());
            return kExitFile;
        }
    }

    const int status = parsed.command->run(options, parsed.invocation);
    // A signal after the last point where the command could stop: it finished whole.
    if (InterruptSignal() != 0 && status < 128) {
        output::Complain("interrupted by " + InterruptName() + " after " + command + " had finished");
        return InterruptExitStatus();
    }
    return status;
}

}  // namespace

int RunCli(int argc, char** argv)
{
    output::Reset();
    // Known before anything can fail, so that every outcome answers in JSON.
    for (int i = 1; i < argc; ++i)
        output::SetJson(output::Json() || std::strcmp(argv[i], "--json") == 0);
    return output::Finish(Dispatch(argc, argv));
}

}  // namespace kel::cli
