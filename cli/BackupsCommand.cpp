// backups: the settings saved before each change of the ESC, newest first,
// each with its differences from the connected ESC.
#include <cstdio>
#include <optional>

#include "Commands.h"
#include "Compare.h"
#include "ExitCodes.h"
#include "Json.h"
#include "Output.h"
#include "link/qt/BackupLocation.h"
#include "settings/Backups.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsRecord.h"

namespace kel::cli {

namespace {

struct Listed {
    std::string name, path, version;
    std::string problem;  // why it could not be read
    std::vector<SettingDifference> differences;
};

Listed Describe(Session& session, const BackupFolder& folder, const std::string& name,
                const std::optional<ShownSettings>& esc)
{
    Listed entry{name, folder.PathOf(name), {}, {}, {}};
    const auto image = ReadProfileFile(entry.path, &entry.problem);
    if (!image)
        return entry;
    SettingsRecord record(session.screen());
    ProfileState profile;
    ApplyProfileImage(*image, ProfileNameOf(name), record, profile);
    entry.version = profile.versionText;
    if (esc)
        entry.differences = CompareSettings(ShownSettingsOf(record), *esc);
    return entry;
}

void PrintJson(const std::string& location, const std::vector<Listed>& entries, bool compared)
{
    std::string list;
    for (const Listed& e : entries) {
        list += (list.empty() ? "{" : ", {") + std::string("\"file\": ") + JsonString(e.path)
                + ", \"name\": " + JsonString(e.name) + ", \"version\": " + JsonString(e.version);
        if (!e.problem.empty())
            list += ", \"error\": " + JsonString(e.problem);
        else if (compared)
            list += ", \"differences\": " + DifferencesJson(e.differences, "backup", "esc");
        list += "}";
    }
    output::PrintJson("{\"folder\": " + JsonString(location) + ", \"compared\": " + (compared ? "true" : "false")
                      + ", \"backups\": [" + list + "]}");
}

void PrintText(const std::string& location, const std::vector<Listed>& entries, bool compared)
{
    if (entries.empty()) {
        std::printf("No backups in %s\n", location.c_str());
        return;
    }
    std::printf("Backups in %s, newest first%s:\n", location.c_str(), compared ? ", against the ESC" : "");
    for (const Listed& e : entries) {
        const char* note = !e.problem.empty()                  ? "  (cannot be read: "
                           : compared && e.differences.empty() ? "  (same as the ESC"
                                                               : "";
        std::printf("%s%s%s%s\n", e.name.c_str(), note, e.problem.c_str(), *note ? ")" : "");
        if (e.problem.empty())
            PrintDifferences(e.differences, "backup", "esc", "  ");
    }
}

}  // namespace

int RunBackups(const GlobalOptions& options, const Invocation&)
{
    const DiskBackupFolder folder(BackupFolderPath());
    Session session(options);
    // Only a device named on the command line is asked: listing needs none.
    const bool compare = options.port || options.simulate;
    std::optional<ShownSettings> esc;
    if (compare) {
        std::vector<OutOfRangeValue> held;
        if (!ConnectAndReadEsc(session, held))
            return session.Finish(kExitDevice);
        if (const int status = session.Finish(kExitDone); status != kExitDone)
            return status;
        const SettingsRecord& record = session.logic().record();
        esc = ShownSettingsOfReply(record.lastRead.data(), record.escVariant);
    }
    std::vector<Listed> entries;
    for (const std::string& name : ListBackups(folder))
        entries.push_back(Describe(session, folder, name, esc));
    if (options.json)
        PrintJson(folder.Location(), entries, compare);
    else
        PrintText(folder.Location(), entries, compare);
    return kExitDone;
}

}  // namespace kel::cli
