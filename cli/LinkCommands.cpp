// ports and detect: what is attached and what answers.
#include <QSerialPortInfo>
#include <cctype>
#include <cstdio>

#include "Commands.h"
#include "ExitCodes.h"
#include "Json.h"
#include "Output.h"
#include "link/PortFinder.h"
#include "link/ControlIds.h"
#include "link/Texts.h"

namespace kel::cli {

int UsageError(const std::string& text)
{
    output::Complain(text);
    std::fprintf(stderr, "Try 'kel-cli --help'.\n");
    return kExitUsage;
}

int RunPorts(const GlobalOptions& options, const Invocation&)
{
    const auto ports = QSerialPortInfo::availablePorts();
    bool anyBox = false;
    std::string json;
    for (const QSerialPortInfo& info : ports) {
        const bool isBox = info.hasVendorIdentifier() && info.hasProductIdentifier()
                           && info.vendorIdentifier() == kBoxVendorId && info.productIdentifier() == kBoxProductId;
        anyBox = anyBox || isBox;
        const std::string path = info.systemLocation().toStdString();
        const std::string what = info.description().toStdString();
        char usb[16] = "";
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            std::snprintf(usb, sizeof usb, "%04x:%04x", info.vendorIdentifier(), info.productIdentifier());
        if (options.json) {
            json += std::string(json.empty() ? "" : ", ") + "{\"device\": " + JsonString(path)
                    + ", \"usb\": " + JsonString(usb) + ", \"description\": " + JsonString(what)
                    + ", \"box\": " + (isBox ? "true" : "false") + "}";
        } else {
            std::printf("%-20s %-10s %s%s\n", path.c_str(), usb, what.c_str(), isBox ? "  [program box]" : "");
        }
    }
    if (options.json)
        output::PrintJson("{\"ports\": [" + json + "]}");
    else if (ports.isEmpty())
        std::printf("No serial ports found.\n");
    if (!options.json && !anyBox) {
        std::string sentence(text::kNoProgramBox);
        sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
        std::fprintf(stderr, "%s.\n", sentence.c_str());
    }
    return kExitDone;
}

namespace {

// An ESC that does not answer in ESC mode may wait in its boot loader: one
// FixMode probe (0xD6, answered 0xD7) tells.
bool EscWaitsInLoader(Session& session)
{
    session.logic().OnDeviceRadio(id::kRadioFix);
    session.logic().OnTimer();
    return session.logic().EscConnected();
}

}  // namespace

int RunDetect(const GlobalOptions& options, const Invocation& given)
{
    int mode = kPollEsc;
    if (const auto as = given.Value("as")) {
        if (*as == "box")
            mode = kPollBox;
        else if (*as == "fix")
            mode = kPollFix;
        else if (*as != "esc")
            return UsageError("--as takes esc, box or fix, not '" + *as + "'");
    }
    Session session(options);
    if (!session.Connect(mode))
        return kExitDevice;
    if (session.Interrupted())
        return session.Stop("nothing was changed on the device");
    const KelDlgLogic& logic = session.logic();
    const bool answered = logic.Answered();
    if (options.json) {
        output::PrintJson("{\"usb\": " + std::to_string(static_cast<int>(logic.UsbLinkState()))
                          + ", \"esc\": " + std::to_string(static_cast<int>(logic.EscLinkState()))
                          + ", \"box\": " + std::to_string(logic.BoxConnected() ? 1 : 0)
                          + ", \"version\": " + JsonString(logic.VersionText()) + "}");
    } else {
        auto lamp = [](bool on) { return on ? "on" : "off"; };
        std::printf("USB Connection:         %s\n", lamp(logic.UsbInUse()));
        std::printf("ESC Connection:         %s\n", lamp(logic.EscConnected()));
        std::printf("ProgramBox Connection:  %s\n", lamp(logic.BoxConnected()));
        if (!logic.VersionText().empty())
            std::printf("Version:                %s\n", logic.VersionText().c_str());
        if (!answered) {
            static const char* const kWhat[] = {"", "No ESC answers.", "The program box does not answer.",
                                                "No ESC waits in its boot loader."};
            std::printf("%s\n", kWhat[mode]);
        }
        // Asked after the lamps are printed: the probe lights the ESC lamp.
        if (mode == kPollEsc && !answered && !session.Interrupted() && EscWaitsInLoader(session))
            std::printf("An ESC waits in its boot loader (after an interrupted update?): flash it with 'kel-cli "
                        "flash-esc --fix FILE', or choose FixMode in the window; 'kel-cli detect --as fix' shows "
                        "it.\n");
    }
    return session.Finish(answered ? kExitDone : kExitDevice);
}

}  // namespace kel::cli
