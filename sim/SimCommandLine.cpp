#include "sim/SimCommandLine.h"

#include "sim/SampleFirmware.h"

namespace kel::sim {

namespace {

constexpr const char* kUsage =
    "Usage: kel-sim [--link PATH] [--pace] [--verbose] [--esc-version A.B.C.D] [--box-version A.B.C.D]\n"
    "               [--stock] [--esc-in-loader] [--no-esc] [--report FILE] [--fault NAME[=N] ...]\n"
    "       kel-sim --replay FILE [--verbose]\n"
    "       kel-sim --write-zrv FILE --size BYTES\n"
    "       kel-sim --write-xup FILE --size BYTES\n";

constexpr const char* kOptions = R"(
A stand-in for the USB program box with an ESC behind it, served on a
pseudo-terminal. The first line of standard output is the terminal's device
path; open it at 19200 baud 8N1. Runs until SIGINT or SIGTERM.

Options:
  --link PATH             also make PATH a symbolic link to the terminal (an
                          existing file that is not a symbolic link is left alone)
  --pace                  bytes take their wire time at 19200 baud 8N1 (0.52 ms
                          each, echoes included); bytes sent together (an echo
                          and its reply) arrive together once the last is
                          through, as from a USB bridge; without --pace bytes
                          go out as soon as they are due
  --verbose               log every byte received and sent on standard error
  --esc-version A.B.C.D   the ESC's version bytes (default 1.2.3.4, "Ver: 102304")
  --box-version A.B.C.D   the box's version bytes (default 2.1.0.7, "Ver: 2010007")
  --stock                 the ESC's factory mode is stock (default MOD); also
                          what 0xDE restores
  --esc-in-loader         the ESC waits in its boot loader (as after a failed
                          update); FixMode finds it, ESC mode does not
  --no-esc                no ESC is plugged into the box
  --report FILE           on stopping, write what the devices hold to FILE: the
                          ESC's settings and mode, the image its loader built,
                          the blocks the box's loader took (one line each)
  --fault NAME[=N]        misbehave as named below; may be given several times
  --replay FILE           answer as the box did in an exchange log (kel-cli
                          --trace, kel --trace, the window's "Save exchange
                          log..."): each byte the PC sends must be the log's
                          next byte from the PC, and is answered at once with
                          the box's bytes that follow it in the log. At the
                          first byte the log does not expect, or past its end,
                          the reason goes to standard error and nothing more
                          is answered, so the PC times out as with a broken
                          box. Takes no option but --verbose
  --write-zrv FILE        write sample ESC firmware of --size data bytes
  --write-xup FILE        write sample box firmware of --size data bytes
  --size BYTES            data bytes of the sample firmware
  --help, --version

Behaviour: every byte is echoed before any reply.
  0xD5  "&" (0x26) while the ESC runs its application
  0xD4  0xD1, then the ESC's state (0 none, 1 running, 2 in its loader)
  0xD7  7 bytes: the ESC's version in bytes 0-3 when the last probe was a 0xD5
        the ESC answered, else 0xD1 0x00 and the box's version in bytes 2-5
  0xD8  the ESC's 24 settings bytes; byte 22 mode (0 stock, 1 MOD), byte 23 0xDD
  (tag, value) with tags 0xE1-0xF1, 0xD2, 0xD3, 0xF5, 0xF7, 0xFE: stored, then
        answered 0x01 0x01
  0xDF  0x01        0xDE  no reply; the ESC returns to its factory settings
  0xD6  the ESC in its loader answers 0xD7. An ESC running its application
        enters its loader on the 4th 0xD6 in a row and answers that one 0xD7.
        Any other 0xD6 is answered 0x00 by the box after 100 ms of silence; an
        answered 0xD6 restarts the ESC's count (so polls never start its loader)
  ESC loader: 0x39 and 0x31 are answered 0x01; each Intel-HEX record sent as raw
        bytes (0x3A, count, address, type, data, checksum) is answered 0x01, or
        0x02 when its checksum is wrong (it is then not programmed). Types 00,
        02 and 04 build the image; the end record 01 restarts the application.
  Box loader: three 0xD6, then 0xD7 is answered 0xD8, then 0xD6 is answered
        0xD7. Blocks follow: a 2-byte big-endian length L and L body bytes whose
        last two are a CRC-16/CCITT-FALSE (big-endian) of the bytes before them.
        Answers: 0x11 accepted, 0x12 check failed, 0x13 send again. The loader
        ends with a block of length 0 (answered 0x11), with a first length byte
        of 0x05 or more (a command, handled as such), or after 2 s of silence.
  A byte that comes 2 s or more after the previous one drops any half-received
  pair, record or block.

Faults (N counts occurrences from 1; without N every occurrence is hit):
)";

std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const auto& p : parts)
        text += p;
    return text;
}

}  // namespace

std::optional<Version> ParseVersion(std::string_view text)
{
    Version version{};
    for (std::size_t i = 0; i < version.size(); ++i) {
        const auto dot = text.find('.');
        if ((dot == std::string_view::npos) != (i == version.size() - 1))
            return std::nullopt;
        const auto number = ParseNumber(text.substr(0, dot));
        if (!number || *number < 0 || *number > 255)
            return std::nullopt;
        version[i] = static_cast<std::uint8_t>(*number);
        if (dot != std::string_view::npos)
            text.remove_prefix(dot + 1);
    }
    return version;
}

std::string ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out)
{
    std::string otherThanReplay;  // the first option that makes no sense with --replay
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            inlineValue = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
        }
        auto value = [&](std::string& into) -> std::string {
            if (inlineValue) {
                into = *inlineValue;
                return {};
            }
            if (i + 1 >= args.size())
                return arg + " needs a value";
            into = args[++i];
            return {};
        };
        std::string text;
        std::string error;
        if (arg != "--verbose" && arg != "--replay" && arg != "--help" && arg != "-h" && arg != "--version"
            && otherThanReplay.empty())
            otherThanReplay = arg;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--pace") {
            out.pace = true;
        } else if (arg == "--verbose") {
            out.verbose = true;
        } else if (arg == "--stock") {
            out.device.escStock = true;
        } else if (arg == "--esc-in-loader") {
            out.device.escInLoader = true;
        } else if (arg == "--no-esc") {
            out.device.escAttached = false;
        } else if (arg == "--link") {
            error = value(out.link);
        } else if (arg == "--replay") {
            error = value(out.replay);
            if (error.empty() && out.replay.empty())
                error = "--replay needs a file";
        } else if (arg == "--report") {
            error = value(out.report);
        } else if (arg == "--write-zrv") {
            error = value(out.writeZrv);
        } else if (arg == "--write-xup") {
            error = value(out.writeXup);
        } else if (arg == "--esc-version" || arg == "--box-version") {
            error = value(text);
            const auto version = ParseVersion(text);
            if (error.empty() && !version)
                error = arg + " takes four numbers 0-255 as A.B.C.D, not \"" + text + "\"";
            else if (version)
                (arg == "--esc-version" ? out.device.escVersion : out.device.boxVersion) = *version;
        } else if (arg == "--size") {
            error = value(text);
            const auto number = ParseNumber(text);
            if (error.empty() && (!number || *number < 0 || *number > 16 * 1024 * 1024))
                error = "--size takes a byte count from 0 to 16777216, not \"" + text + "\"";
            else if (number)
                out.size = static_cast<std::size_t>(*number);
        } else if (arg == "--fault") {
            error = value(text);
            if (error.empty())
                error = out.device.faults.Add(text);
        } else {
            error = "unknown option \"" + args[i] + "\"";
        }
        if (!error.empty())
            return error;
    }
    if (out.help || out.version)
        return {};
    if (!out.replay.empty() && !otherThanReplay.empty())
        return "--replay answers from the log alone; " + otherThanReplay + " does not go with it";
    const bool writing = !out.writeZrv.empty() || !out.writeXup.empty();
    if (writing && !out.size)
        return "--write-zrv and --write-xup need --size BYTES";
    if (!writing && out.size)
        return "--size goes with --write-zrv or --write-xup";
    if (!out.writeZrv.empty() && !out.writeXup.empty())
        return "write one sample file at a time";
    if (out.device.escInLoader && !out.device.escAttached)
        return "--esc-in-loader and --no-esc contradict each other";
    return {};
}

std::string SimHelpText()
{
    return Joined({kUsage, kOptions, FaultSet::HelpText(),
                   "\nAn unplug closes the terminal (and removes the --link); with replug a new\n"
                   "terminal opens after the delay, its path printed on a new line of standard\n"
                   "output and the --link pointed at it.\n"
                   "\nSample firmware is made up here (a fixed pseudo-random pattern): .zrv has 16\n"
                   "data bytes per record; .xup blocks carry up to "
                       + std::to_string(kXupPayloadPerBlock)
                       + " data bytes, and a block of length 0\nends the file.\n"});
}

}  // namespace kel::sim
