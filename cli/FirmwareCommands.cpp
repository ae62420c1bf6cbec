// flash-esc, flash-box and check: firmware files.
#include <cstdio>

#include "Commands.h"
#include "ExitCodes.h"
#include "Json.h"
#include "Output.h"
#include "update/FirmwareCheck.h"

namespace kel::cli {

namespace {

int ExitOf(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::Updated: return kExitDone;
    case UpdateOutcome::FileError: return kExitFile;
    case UpdateOutcome::NotStarted:
    case UpdateOutcome::DeviceError:
    case UpdateOutcome::Interrupted: break;
    }
    return kExitDevice;
}

int Flash(const GlobalOptions& options, int pollMode, const std::string& file)
{
    Session session(options);
    if (!session.Connect(pollMode))
        return kExitDevice;
    if (session.Interrupted())
        return session.Stop("nothing was sent; the device keeps its firmware");
    session.screen().fileAnswer = file;
    const UpdateOutcome result = session.logic().OnUpdate();
    if (result == UpdateOutcome::Interrupted)
        return session.Stop(DescribeStop(session.logic().StoppedAt(), file));
    const int outcome = ExitOf(result);
    // A failed box update closes the port itself; that is no loss.
    const int status = outcome == kExitDevice && !session.logic().PortOpen() && !session.device().Lost()
                           ? outcome
                           : session.Finish(outcome);
    if (status == kExitDone && options.json)
        output::PrintJson("{\"updated\": " + JsonString(file) + "}");
    return status;
}

}  // namespace

int RunFlashEsc(const GlobalOptions& options, const Invocation& given)
{
    return Flash(options, given.Has("fix") ? kPollFix : kPollEsc, given.operands[0]);
}

int RunFlashBox(const GlobalOptions& options, const Invocation& given)
{
    return Flash(options, kPollBox, given.operands[0]);
}

int RunCheck(const GlobalOptions&, const Invocation& given)
{
    const std::string& path = given.operands[0];
    if (FirmwareKindOf(path) == FirmwareKind::Unknown)
        return UsageError("check: '" + path + "' is neither a .zrv nor a .xup file");
    const CheckReport report = CheckFirmwareFile(path);
    if (!report.readable) {
        output::Complain(report.findings.at(0).message);
        return kExitFile;
    }
    const bool ok = report.Flashable();
    if (output::Json()) {
        std::string findings;
        for (const CheckFinding& finding : report.findings)
            findings += (findings.empty() ? "" : ", ") + JsonString(FormatFinding(finding));
        output::PrintJson("{\"file\": " + JsonString(path) + ", \"findings\": [" + findings
                          + "], \"flashable\": " + (ok ? "true" : "false") + "}");
        return ok ? kExitDone : kExitDevice;
    }
    for (const CheckFinding& finding : report.findings)
        std::printf("%s: %s\n", path.c_str(), FormatFinding(finding).c_str());
    std::printf("%s: %s\n", path.c_str(), ok ? "would flash as written" : "would NOT flash as written");
    return ok ? kExitDone : kExitDevice;
}

}  // namespace kel::cli
