// diff, and the report of --verify: settings compared parameter by parameter.
#include <cstdio>
#include <optional>

#include "Commands.h"
#include "Compare.h"
#include "ExitCodes.h"
#include "Json.h"
#include "Output.h"
#include "settings/Profile.h"
#include "settings/SettingsRecord.h"

namespace kel::cli {

std::string DifferencesJson(const std::vector<SettingDifference>& differences, const char* first, const char* second)
{
    std::string json = "[";
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const SettingDifference& d = differences[i];
        json += (i ? ", " : "") + std::string("{\"parameter\": ") + JsonString(d.label) + ", \"" + first
                + "\": " + JsonString(d.first) + ", \"" + second + "\": " + JsonString(d.second) + "}";
    }
    return json + "]";
}

void PrintDifferences(const std::vector<SettingDifference>& differences, const std::string& first,
                      const std::string& second, const char* indent)
{
    for (const SettingDifference& d : differences)
        std::printf("%s%-22s %s: %s  |  %s: %s\n", indent, d.label.c_str(), first.c_str(), d.first.c_str(),
                    second.c_str(), d.second.c_str());
}

namespace {

// One side of a comparison, as the pages would show it.
struct Side {
    std::string name;
    ShownSettings shown;
    std::string version;  // empty for the factory settings
};

// A profile file as "Load" would show it; none (reasons said) when it cannot be read.
std::optional<Side> ProfileSide(Session& session, const std::string& path)
{
    const auto image = ReadCheckedProfile(path);
    if (!image)
        return std::nullopt;
    SettingsRecord record(session.screen());
    ProfileState profile;
    ApplyProfileImage(*image, ProfileNameOf(path), record, profile);
    return Side{path, ShownSettingsOf(record), profile.versionText};
}

}  // namespace

VerifyReport ReportVerify(const std::vector<SettingDifference>& differences, bool json)
{
    VerifyReport report;
    report.status = differences.empty() ? kExitDone : kExitDevice;
    report.json = "\"verify\": {\"verified\": " + std::string(differences.empty() ? "true" : "false")
                  + ", \"differences\": " + DifferencesJson(differences, "written", "esc") + "}";
    if (!differences.empty()) {
        output::Complain("verify: " + std::to_string(differences.size())
                         + (differences.size() == 1 ? " setting" : " settings")
                         + " did not take (written, then read back from the ESC)");
    }
    if (!json) {
        if (differences.empty())
            std::printf("verified\n");
        PrintDifferences(differences, "written", "esc");
    }
    return report;
}

int RunDiff(const GlobalOptions& options, const Invocation& given)
{
    const Args& args = given.operands;
    const std::vector<std::string> names = {args[0], args.size() > 1 ? args[1] : "esc"};

    Session session(options);
    std::vector<Side> sides(2);
    // Files first, so that a bad file costs no exchange with the device.
    for (std::size_t i = 0; i < 2; ++i) {
        if (names[i] == "factory") {
            sides[i] = {names[i], FactorySettings(), {}};
        } else if (names[i] != "esc") {
            auto side = ProfileSide(session, names[i]);
            if (!side)
                return kExitFile;
            sides[i] = std::move(*side);
        }
    }
    if (names[0] == "esc" || names[1] == "esc") {
        std::vector<OutOfRangeValue> held;
        if (!ConnectAndReadEsc(session, held))
            return session.Finish(kExitDevice);
        if (const int status = session.Finish(kExitDone); status != kExitDone)
            return status;
        KelDlgLogic& logic = session.logic();
        const Side esc{"esc", ShownSettingsOfReply(logic.record().lastRead.data(), logic.record().escVariant),
                       logic.VersionText()};
        for (std::size_t i = 0; i < 2; ++i) {
            if (names[i] == "esc")
                sides[i] = esc;
        }
    }

    std::vector<std::string> warnings;
    if (!sides[0].version.empty() && !sides[1].version.empty() && sides[0].version != sides[1].version) {
        warnings.push_back(sides[0].name + " is for firmware " + sides[0].version + ", " + sides[1].name
                           + " for firmware " + sides[1].version + "; compared all the same");
        std::fprintf(stderr, "kel-cli: warning: %s\n", warnings.back().c_str());
    }
    const auto differences = CompareSettings(sides[0].shown, sides[1].shown);
    if (options.json) {
        std::string list;
        for (const std::string& w : warnings)
            list += (list.empty() ? "" : ", ") + JsonString(w);
        output::PrintJson("{\"a\": " + JsonString(sides[0].name) + ", \"b\": " + JsonString(sides[1].name)
                          + ", \"same\": " + (differences.empty() ? "true" : "false") + ", \"warnings\": [" + list
                          + "], \"differences\": " + DifferencesJson(differences, "a", "b") + "}");
    } else {
        PrintDifferences(differences, sides[0].name, sides[1].name);
    }
    return differences.empty() ? kExitDone : kExitDiffer;
}

}  // namespace kel::cli
