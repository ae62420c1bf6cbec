// flash-esc, flash-box and check: firmware files.
#include <cstdio>

#include "Commands.h"
#include "ExitCodes.h"
#include "update/FirmwareCheck.h"

namespace kel::cli {

namespace {

int ExitOf(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::Updated: return kExitDone;
    case UpdateOutcome::FileError: return kExitFile;
    case UpdateOutcome::NotStarted:
    case UpdateOutcome::DeviceError: break;
    }
    return kExitDevice;
}

int Flash(const GlobalOptions& options, int pollMode, const std::string& file)
{
    Session session(options);
    if (!session.Connect(pollMode))
        return kExitDevice;
    session.screen().fileAnswer = file;
    const int status = ExitOf(session.logic().OnUpdate());
    // A failed box update closes the port itself; that is no loss.
    return status == kExitDevice && session.logic().uart().portOpen != 1 && !session.device().Lost()
               ? status
               : session.Finish(status);
}

} // namespace

int RunFlashEsc(const GlobalOptions& options, const Args& args)
{
    bool fix = false;
    std::string file;
    for (const std::string& arg : args) {
        if (arg == "--fix")
            fix = true;
        else if (file.empty() && !arg.starts_with("--"))
            file = arg;
        else
            return UsageError("flash-esc: unexpected argument '" + arg + "'");
    }
    if (file.empty())
        return UsageError("flash-esc needs a .zrv file");
    return Flash(options, fix ? kPollFix : kPollEsc, file);
}

int RunFlashBox(const GlobalOptions& options, const Args& args)
{
    if (args.size() != 1 || args[0].starts_with("--"))
        return UsageError("flash-box needs exactly one .xup file");
    return Flash(options, kPollBox, args[0]);
}

int RunCheck(const Args& args)
{
    if (args.size() != 1)
        return UsageError("check needs exactly one .zrv or .xup file");
    const std::string& path = args[0];
    if (FirmwareKindOf(path) == FirmwareKind::Unknown)
        return UsageError("check: '" + path + "' is neither a .zrv nor a .xup file");
    const CheckReport report = CheckFirmwareFile(path);
    if (!report.readable) {
        std::fprintf(stderr, "kel-cli: %s\n", report.findings.at(0).message.c_str());
        return kExitFile;
    }
    for (const CheckFinding& finding : report.findings)
        std::printf("%s: %s\n", path.c_str(), FormatFinding(finding).c_str());
    const bool ok = report.Flashable();
    std::printf("%s: %s\n", path.c_str(), ok ? "would flash as written" : "would NOT flash as written");
    return ok ? kExitDone : kExitDevice;
}

} // namespace kel::cli
