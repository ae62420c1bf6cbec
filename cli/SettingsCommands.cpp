// read, write, defaults and profile: the ESC's settings.
#include <cstdio>
#include <optional>

#include "Commands.h"
#include "ExitCodes.h"
#include "SettingsPrinter.h"
#include "resources/ResourceIds.h"
#include "settings/OptionLists.h"
#include "settings/ParameterTable.h"
#include "settings/Profile.h"

namespace kel::cli {

namespace {

// Connects in ESC mode; the newly found ESC's settings are read on the way.
// False (with the reason printed) when no settings were shown.
bool ConnectAndRead(Session& session)
{
    if (!session.Connect(kPollEsc))
        return false;
    if (session.logic().uart().escState != 2) {
        std::fprintf(stderr, "kel-cli: no ESC answers\n");
        return false;
    }
    if (session.screen().errorCount > 0)
        return false;  // the engine's message says why
    if (session.logic().record().escMode < 0) {
        std::fprintf(stderr, "kel-cli: the ESC's settings reply lacked its end mark (0xDD); nothing was shown\n");
        return false;
    }
    return true;
}

void Print(Session& session, bool json)
{
    KelDlgLogic& logic = session.logic();
    PrintSettings({logic.record(), logic.link().versionText, logic.link().escVersion, {}, false}, json);
}

struct Assignment {
    LabelTarget target;
    std::string value;  // an option entry, or a custom field's text
    int index = -1;     // the option's index (slots only)
};

std::string Choices(const std::vector<std::string>& list)
{
    std::string all;
    for (const auto& entry : list)
        all += (all.empty() ? "" : ", ") + ("\"" + entry + "\"");
    return all;
}

std::string Labels()
{
    std::string all;
    for (int page : {id::kPageThrottle, id::kPageBooster, id::kPageTurbo, id::kPageBrake, id::kPageGeneral}) {
        for (int slot : SlotsOnPage(page))
            all += (all.empty() ? "" : ", ") + ("\"" + std::string(ParameterOfSlot(slot)->label) + "\"");
    }
    for (const CustomFieldInfo& info : kCustomFields)
        all += ", \"" + std::string(info.label) + "\"";
    return all;
}

// LABEL=VALUE checked against the labels and the option lists.
std::optional<Assignment> ParseAssignment(const std::string& arg, std::string& error)
{
    const auto eq = arg.find('=');
    if (eq == std::string::npos) {
        error = "'" + arg + "' is not LABEL=VALUE";
        return std::nullopt;
    }
    const std::string label = arg.substr(0, eq);
    Assignment a;
    a.value = arg.substr(eq + 1);
    const auto target = FindLabel(label);
    if (!target) {
        error = "unknown label '" + label + "'; the labels are " + Labels();
        return std::nullopt;
    }
    a.target = *target;
    if (a.target.custom)
        return a;
    const std::vector<std::string> list = BuildOptionList(a.target.slot, -1, -1);
    if (a.value.size() > 1 && a.value[0] == '#') {
        const std::string digits = a.value.substr(1);
        const bool numeric = digits.find_first_not_of("0123456789") == std::string::npos && digits.size() < 6;
        a.index = numeric ? std::stoi(digits) : -1;
    } else {
        a.index = FindOption(list, a.value);
    }
    if (a.index < 0 || a.index >= static_cast<int>(list.size())) {
        error = "'" + a.value + "' is not a value of " + label + "; the values are " + Choices(list) + " (or #0 to #"
                + std::to_string(list.size() - 1) + ")";
        return std::nullopt;
    }
    return a;
}

} // namespace

int RunRead(const GlobalOptions& options, const Args& args)
{
    if (!args.empty())
        return UsageError("read takes no arguments");
    Session session(options);
    if (!ConnectAndRead(session))
        return session.Finish(kExitDevice);
    if (const int status = session.Finish(kExitDone); status != kExitDone)
        return status;
    Print(session, options.json);
    return kExitDone;
}

int RunDefaults(const GlobalOptions& options, const Args& args)
{
    if (!args.empty())
        return UsageError("defaults takes no arguments");
    Session session(options);
    if (!ConnectAndRead(session))
        return session.Finish(kExitDevice);
    KelDlgLogic& logic = session.logic();
    logic.record().escMode = -1;  // so an incomplete read-back shows
    logic.OnDefaults();
    if (session.screen().errorCount > 0 || logic.record().escMode < 0) {
        if (session.screen().errorCount == 0)
            std::fprintf(stderr, "kel-cli: the factory settings could not be read back\n");
        return session.Finish(kExitDevice);
    }
    if (const int status = session.Finish(kExitDone); status != kExitDone)
        return status;
    Print(session, options.json);
    return kExitDone;
}

int RunWrite(const GlobalOptions& options, const Args& args)
{
    std::vector<Assignment> assignments;
    std::optional<int> mode;
    std::optional<std::string> profile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--mode" && i + 1 < args.size()) {
            const std::string& m = args[++i];
            if (m == "stock")
                mode = 0;
            else if (m == "MOD" || m == "mod")
                mode = 1;
            else
                return UsageError("--mode takes stock or MOD, not '" + m + "'");
        } else if (arg == "--profile" && i + 1 < args.size()) {
            profile = args[++i];
        } else {
            std::string error;
            const auto a = ParseAssignment(arg, error);
            if (!a)
                return UsageError("write: " + error);
            assignments.push_back(*a);
        }
    }

    Session session(options);
    if (!ConnectAndRead(session))
        return session.Finish(kExitDevice);
    KelDlgLogic& logic = session.logic();
    CliScreen& screen = session.screen();
    std::string why;
    if (profile && !logic.profileFiles().LoadFrom(*profile, &why)) {
        std::fprintf(stderr, "kel-cli: %s\n", why.c_str());
        return kExitFile;
    }
    // The switch toggles; a profile's mode 2 takes two clicks to reach stock.
    for (int click = 0; mode && click < 2 && logic.record().escMode != *mode; ++click)
        logic.OnModeSwitch();
    for (const Assignment& a : assignments) {
        if (a.target.custom)
            logic.OnCustomTextChanged(InfoOf(*a.target.custom).edit, a.value);
        else
            logic.OnOptionChosen(a.target.slot, a.index);
    }
    if (screen.errorCount > 0) {
        std::fprintf(stderr, "kel-cli: nothing was written\n");
        return kExitUsage;
    }
    logic.OnApply();
    const bool written = screen.errorCount == 0 && screen.settingsWriteSucceeded.value_or(false);
    return session.Finish(written ? kExitDone : kExitDevice);
}

int RunProfile(const GlobalOptions& options, const Args& args)
{
    if (args.size() != 2 || (args[0] != "show" && args[0] != "save"))
        return UsageError("profile takes 'show FILE' or 'save FILE'");
    const std::string& path = args[1];
    if (args[0] == "save") {
        Session session(options);
        if (!ConnectAndRead(session))
            return session.Finish(kExitDevice);
        if (const int status = session.Finish(kExitDone); status != kExitDone)
            return status;
        KelDlgLogic& logic = session.logic();
        if (!WriteProfileFile(path, BuildProfileImage(logic.record(), logic.link().escVersion))) {
            std::fprintf(stderr, "kel-cli: cannot write %s\n", path.c_str());
            return kExitFile;
        }
        std::printf("Saved %s\n", path.c_str());
        return kExitDone;
    }
    // show: decode the file as the Load button would, into a window logic that
    // never opens a port.
    std::string why;
    const auto image = ReadProfileFile(path, &why);
    if (!image) {
        std::fprintf(stderr, "ZORV: %s\nkel-cli: %s\n", std::string(kFileErrorMessage).c_str(), why.c_str());
        return kExitFile;
    }
    Session session(options);
    KelDlgLogic& logic = session.logic();
    ApplyProfileImage(*image, ProfileNameOf(path), logic.record(), logic.profile());
    const std::array<std::uint8_t, 4> version = {(*image)[27], (*image)[28], (*image)[29], (*image)[30]};
    PrintSettings({logic.record(), logic.profile().versionText, version, logic.profile().name, true}, options.json);
    return kExitDone;
}

} // namespace kel::cli
