// read, write, defaults and profile: the ESC's settings.
#include <cstdio>
#include <optional>

#include "Commands.h"
#include "Compare.h"
#include "ExitCodes.h"
#include "Json.h"
#include "Output.h"
#include "SettingsPrinter.h"
#include "settings/OptionLists.h"
#include "settings/OutOfRange.h"
#include "settings/ParameterTable.h"
#include "settings/Profile.h"
#include "settings/SettingsCodec.h"
#include "settings/SettingsDiff.h"

namespace kel::cli {

namespace {

// What a user can do about a value the ESC holds out of range.
std::string RepairHint(const OutOfRangeValue& v)
{
    const auto target = FindLabel(v.label);
    const bool writable = !target || !target->custom || *target->custom != CustomField::InitialBrake;
    return writable ? "set it with write \"" + v.label + "=VALUE\" or restore the factory settings with defaults"
                    : "a write does not send it; restore the factory settings with defaults";
}

// After a settings read: the values the ESC holds that no entry or field
// range can show, each said with its field and raw byte. The window refuses
// such a custom text with one message box each; those refusals are no failure
// of the read. False when another message box said the read failed.
bool ReadShown(Session& session, int errorsBefore, std::vector<OutOfRangeValue>& held)
{
    const SettingsRecord& record = session.logic().record();
    held = record.escMode < 0 ? std::vector<OutOfRangeValue>{} : FindOutOfRangeInReply(record.lastRead.data());
    int refusals = 0;
    for (const OutOfRangeValue& v : held) {
        refusals += v.custom ? 1 : 0;
        output::Complain("the ESC holds " + Describe(v, "reply byte") + "; " + RepairHint(v));
    }
    return session.screen().errorCount - errorsBefore <= refusals;
}

// Connects in ESC mode; the newly found ESC's settings are read on the way.
// False (with the reason printed) when no settings were shown.
bool ConnectAndRead(Session& session, std::vector<OutOfRangeValue>& held)
{
    if (!session.Connect(kPollEsc))
        return false;
    if (!session.logic().EscConnected()) {
        output::Complain("no ESC answers");
        return false;
    }
    if (!ReadShown(session, 0, held))
        return false;  // the engine's message says why
    if (!session.logic().SettingsShown()) {
        output::Complain("the ESC's settings reply lacked its end mark (0xDD); nothing was shown");
        return false;
    }
    return true;
}

void Print(Session& session, bool json, const std::vector<OutOfRangeValue>& held, const std::string& extraJson = {})
{
    KelDlgLogic& logic = session.logic();
    SettingsView view{logic.record(), logic.VersionText(), logic.EscVersion(), {}, false, held};
    view.extraJson = extraJson;
    PrintSettings(view, json);
}

// A profile file that a load would take whole; none (with the reasons said)
// when it cannot be read or holds values no entry or field range can show.
std::optional<ProfileImage> ReadGoodProfile(const std::string& path)
{
    std::string why;
    const auto image = ReadProfileFile(path, &why);
    if (!image) {
        std::fprintf(stderr, "ZORV: %s\n", std::string(text::kFileErrorMessage).c_str());
        output::NoteReason("ZORV: " + std::string(text::kFileErrorMessage));
        output::Complain(why);
        return std::nullopt;
    }
    const auto bad = FindOutOfRangeInProfile(*image);
    for (const OutOfRangeValue& v : bad)
        output::Complain(path + ": " + Describe(v, "offset"));
    if (!bad.empty())
        return std::nullopt;
    return image;
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
    for (int slot : ShownSlots())
        all += (all.empty() ? "" : ", ") + ("\"" + std::string(ParameterOfSlot(slot)->label) + "\"");
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
    if (a.target.custom) {
        if (a.value.empty()) {
            error = "'" + arg + "' gives no value; a custom value is a field text such as \""
                    + (InfoOf(*a.target.custom).volt ? "3.6v" : "25%") + "\"";
            return std::nullopt;
        }
        return a;
    }
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

}  // namespace

int RunRead(const GlobalOptions& options, const Invocation&)
{
    Session session(options);
    std::vector<OutOfRangeValue> held;
    const bool read = ConnectAndRead(session, held);
    if (session.Interrupted())
        return session.Stop("nothing was changed on the ESC");
    if (!read)
        return session.Finish(kExitDevice);
    if (const int status = session.Finish(kExitDone); status != kExitDone)
        return status;
    Print(session, options.json, held);
    return kExitDone;
}

int RunDefaults(const GlobalOptions& options, const Invocation& given)
{
    const bool verify = given.Has("verify");
    Session session(options);
    std::vector<OutOfRangeValue> held;
    const bool read = ConnectAndRead(session, held);
    if (session.Interrupted())
        return session.Stop("nothing was changed on the ESC");
    if (!read)
        return session.Finish(kExitDevice);
    KelDlgLogic& logic = session.logic();
    const int errorsBefore = session.screen().errorCount;
    const bool readBack = logic.RestoreDefaultsAndReadBack();
    if (!ReadShown(session, errorsBefore, held) || !readBack) {
        if (session.screen().errorCount == errorsBefore)
            output::Complain("the factory settings could not be read back");
        return session.Finish(kExitDevice);
    }
    if (const int status = session.Finish(kExitDone); status != kExitDone)
        return status;
    if (!verify) {
        Print(session, options.json, held);
        return kExitDone;
    }
    // The factory settings were read back on the way; compare them with what
    // the lists mark as factory entries.
    const auto differences = CompareSettings(
        FactorySettings(), ShownSettingsOfReply(logic.record().lastRead.data(), logic.record().escVariant));
    if (!options.json)
        Print(session, false, held);
    const VerifyReport report = ReportVerify(differences, options.json);
    if (options.json)
        Print(session, true, held, report.json);
    return report.status;
}

namespace {

// A value the ESC holds out of range that this write would change without
// being asked to (the window would send its own refusal text, or entry 0):
// the first such, or nothing.
std::optional<std::string> UnaskedChange(const SettingsRecord& record, const std::vector<OutOfRangeValue>& held,
                                         const std::vector<Assignment>& assignments)
{
    const SettingsBlock block = EncodeSettings(record);
    for (const OutOfRangeValue& v : held) {
        bool asked = false;
        for (const Assignment& a : assignments)
            asked = asked
                    || (a.target.custom ? std::string(InfoOf(*a.target.custom).label)
                                        : std::string(ParameterOfSlot(a.target.slot)->label))
                           == v.label;
        for (int k = 0; k < kPairCount && !asked; ++k) {
            if (kPairs[static_cast<std::size_t>(k)].replyByte == v.position && block[2 * k + 1] != v.raw) {
                char sent[8];
                std::snprintf(sent, sizeof sent, "0x%02X", block[2 * k + 1]);
                return "the ESC holds " + Describe(v, "reply byte") + "; this write would send " + sent
                       + " in its place: give it a value (\"" + v.label
                       + "=VALUE\") or restore the factory settings "
                         "with defaults";
            }
        }
    }
    return std::nullopt;
}

}  // namespace

int RunWrite(const GlobalOptions& options, const Invocation& given)
{
    const bool verify = given.Has("verify");
    const std::optional<std::string> profile = given.Value("profile");
    std::optional<int> mode;
    if (const auto m = given.Value("mode")) {
        if (*m == "stock")
            mode = 0;
        else if (*m == "MOD" || *m == "mod")
            mode = 1;
        else
            return UsageError("--mode takes stock or MOD, not '" + *m + "'");
    }
    std::vector<Assignment> assignments;
    for (const std::string& arg : given.operands) {
        std::string error;
        const auto a = ParseAssignment(arg, error);
        if (!a)
            return UsageError("write: " + error);
        assignments.push_back(*a);
    }
    if (profile && !ReadGoodProfile(*profile)) {
        output::Complain("nothing was written");
        return kExitFile;
    }

    Session session(options);
    std::vector<OutOfRangeValue> held;
    const bool read = ConnectAndRead(session, held);
    if (session.Interrupted())
        return session.Stop("nothing was written; the ESC keeps its settings");
    if (!read)
        return session.Finish(kExitDevice);
    KelDlgLogic& logic = session.logic();
    CliScreen& screen = session.screen();
    const int errorsBefore = screen.errorCount;
    std::string why;
    if (profile && !logic.LoadProfile(*profile, &why)) {
        output::Complain(why);
        return kExitFile;
    }
    // The switch toggles; a profile's mode 2 takes two clicks to reach stock.
    for (int click = 0; mode && click < 2 && logic.record().escMode != *mode; ++click)
        logic.OnModeSwitch();
    for (const Assignment& a : assignments) {
        if (a.target.custom) {
            logic.OnCustomGiven(InfoOf(*a.target.custom).edit, a.value);
        } else {
            logic.OnOptionChosen(a.target.slot, a.index);
        }
    }
    if (screen.errorCount > errorsBefore) {
        output::Complain("nothing was written");
        return kExitUsage;
    }
    if (const auto change = profile ? std::nullopt : UnaskedChange(logic.record(), held, assignments)) {
        output::Complain(*change);
        output::Complain("nothing was written");
        return kExitUsage;
    }
    const ShownSettings meant = ShownAfterWrite(logic.record());
    logic.OnApply();
    if (logic.StoppedAt().exchange == StopPoint::Exchange::SettingsWrite)
        return session.Stop(DescribeStop(logic.StoppedAt(), {}));
    const bool written = screen.errorCount == errorsBefore && screen.settingsWriteSucceeded.value_or(false);
    int status = session.Finish(written ? kExitDone : kExitDevice);
    if (status != kExitDone)
        return status;
    std::string verifyJson;
    if (verify) {
        const auto differences = logic.ReadBackAndCompare(meant);
        if (!differences || screen.errorCount > errorsBefore) {
            output::Complain("written, but the settings could not be read back to verify them");
            return session.Finish(kExitDevice);
        }
        if (status = session.Finish(kExitDone); status != kExitDone)
            return status;
        const VerifyReport report = ReportVerify(*differences, options.json);
        verifyJson = ", " + report.json;
        status = report.status;
    }
    if (options.json)
        output::PrintJson("{\"written\": true" + verifyJson + "}");
    return status;
}

int RunProfile(const GlobalOptions& options, const Invocation& given)
{
    const Args& args = given.operands;
    if (args[0] != "show" && args[0] != "save")
        return UsageError("profile takes 'show FILE' or 'save FILE'");
    const std::string& path = args[1];
    if (args[0] == "save") {
        Session session(options);
        std::vector<OutOfRangeValue> held;
        const bool read = ConnectAndRead(session, held);
        if (session.Interrupted())
            return session.Stop(path + " was not changed");
        if (!read)
            return session.Finish(kExitDevice);
        if (const int status = session.Finish(kExitDone); status != kExitDone)
            return status;
        KelDlgLogic& logic = session.logic();
        ProfileImage image = BuildProfileImage(logic.record(), logic.EscVersion());
        KeepHeldValues(image, held);  // what the ESC holds, not the window's refusal texts
        std::string why;
        if (!WriteProfileFile(path, image, why)) {
            output::Complain(SaveFailedText(path, why));
            return kExitFile;
        }
        if (options.json)
            output::PrintJson("{\"saved\": " + JsonString(path) + "}");
        else
            std::printf("Saved %s\n", path.c_str());
        return kExitDone;
    }
    // show: decode the file as the Load button would, into a window logic that
    // never opens a port.
    const auto image = ReadGoodProfile(path);
    if (!image)
        return kExitFile;
    Session session(options);
    KelDlgLogic& logic = session.logic();
    logic.ShowProfile(*image, ProfileNameOf(path));
    PrintSettings({logic.record(), logic.profile().versionText, EscVersionOf(*image), logic.profile().name, true},
                  options.json);
    return kExitDone;
}

bool ConnectAndReadEsc(Session& session, std::vector<OutOfRangeValue>& held)
{
    return ConnectAndRead(session, held);
}

std::optional<ProfileImage> ReadCheckedProfile(const std::string& path)
{
    return ReadGoodProfile(path);
}

}  // namespace kel::cli
