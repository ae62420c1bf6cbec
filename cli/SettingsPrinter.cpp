#include "SettingsPrinter.h"

#include <cstdio>
#include <vector>

#include "Json.h"
#include "resources/ResourceIds.h"
#include "settings/ParameterTable.h"
#include "settings/SettingsRecord.h"

namespace kel::cli {

namespace {

// The 18 parameters in the order the pages show them.
std::vector<int> ShownSlots()
{
    std::vector<int> slots;
    for (int page : {id::kPageThrottle, id::kPageBooster, id::kPageTurbo, id::kPageBrake, id::kPageGeneral}) {
        for (int slot : SlotsOnPage(page))
            slots.push_back(slot);
    }
    return slots;
}

const int kReservedSlots[] = {1082, 1088, 1091, 1092, 1094, 1097};

std::string CustomName(const CustomFieldInfo& info)
{
    // "Initial Brake custom" → "Initial Brake"
    const std::string_view label = info.label;
    return std::string(label.substr(0, label.rfind(" custom")));
}

void PrintJson(const SettingsView& v)
{
    std::printf("{");
    if (!v.profileName.empty() || v.withReserved)
        std::printf("\"name\": %s, ", JsonString(v.profileName).c_str());
    std::printf("\"version\": %s, \"version_bytes\": [%d,%d,%d,%d], \"mode\": %d, \"variant\": %d, \"settings\": {",
                JsonString(v.version).c_str(), v.versionBytes[0], v.versionBytes[1], v.versionBytes[2],
                v.versionBytes[3], v.record.escMode, v.record.escVariant);
    const char* sep = "";
    for (int slot : ShownSlots()) {
        std::printf("%s%s: %s", sep, JsonString(ParameterOfSlot(slot)->label).c_str(),
                    JsonString(v.record.Caption(slot)).c_str());
        sep = ", ";
    }
    std::printf("}, \"custom\": {");
    sep = "";
    for (const CustomFieldInfo& info : kCustomFields) {
        std::printf("%s%s: %s", sep, JsonString(CustomName(info)).c_str(),
                    JsonString(v.record.custom.Text(info.field)).c_str());
        sep = ", ";
    }
    std::printf("}");
    if (v.withReserved) {
        std::printf(", \"reserved\": {");
        sep = "";
        for (int slot : kReservedSlots) {
            std::printf("%s\"%d\": %s", sep, slot, JsonString(v.record.Caption(slot)).c_str());
            sep = ", ";
        }
        std::printf("}");
    }
    std::printf("}\n");
}

void PrintPlain(const SettingsView& v)
{
    if (!v.profileName.empty() || v.withReserved)
        std::printf("%-22s %s\n", "Profile", v.profileName.c_str());
    std::printf("%-22s %s\n", "Version", v.version.empty() ? "(unknown)" : v.version.c_str());
    const char* mode = v.record.escMode < 0 ? "(not read)" : v.record.escMode == 0 ? "stock" : "MOD";
    std::printf("%-22s %s\n", "Mode", mode);
    for (int slot : ShownSlots())
        std::printf("%-22s %s\n", std::string(ParameterOfSlot(slot)->label).c_str(), v.record.Caption(slot).c_str());
    for (const CustomFieldInfo& info : kCustomFields)
        std::printf("%-22s %s\n", std::string(info.label).c_str(), v.record.custom.Text(info.field).c_str());
    if (v.withReserved) {
        for (int slot : kReservedSlots)
            std::printf("reserved %-13d %s\n", slot, v.record.Caption(slot).c_str());
    }
}

} // namespace

void PrintSettings(const SettingsView& view, bool json)
{
    if (json)
        PrintJson(view);
    else
        PrintPlain(view);
}

} // namespace kel::cli
