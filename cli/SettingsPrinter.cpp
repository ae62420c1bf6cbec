#include "SettingsPrinter.h"

#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "Json.h"
#include "Output.h"
#include "settings/ParameterTable.h"
#include "settings/SettingsRecord.h"

namespace kel::cli {

namespace {

std::string CustomName(const CustomFieldInfo& info)
{
    // "Initial Brake custom" → "Initial Brake"
    const std::string_view label = info.label;
    return std::string(label.substr(0, label.rfind(" custom")));
}

const OutOfRangeValue* OutOfRange(const SettingsView& v, std::string_view label)
{
    for (const OutOfRangeValue& value : v.outOfRange) {
        if (value.label == label)
            return &value;
    }
    return nullptr;
}

// A custom field shows what the bytes held, also when its field refused it.
std::string CustomText(const SettingsView& v, const CustomFieldInfo& info)
{
    const OutOfRangeValue* held = OutOfRange(v, info.label);
    return held ? held->value : v.record.custom.Text(info.field);
}

std::string Members(const std::vector<std::pair<std::string, std::string>>& members)
{
    std::string text;
    for (const auto& [key, value] : members)
        text += (text.empty() ? "" : ", ") + JsonString(key) + ": " + value;
    return "{" + text + "}";
}

void PrintJson(const SettingsView& v)
{
    std::string json = "{";
    if (!v.profileName.empty() || v.withReserved)
        json += "\"name\": " + JsonString(v.profileName) + ", ";
    json += "\"version\": " + JsonString(v.version) + ", \"version_bytes\": [";
    for (std::size_t i = 0; i < v.versionBytes.size(); ++i)
        json += (i ? "," : "") + std::to_string(v.versionBytes[i]);
    json +=
        "], \"mode\": " + std::to_string(v.record.escMode) + ", \"variant\": " + std::to_string(v.record.escVariant);
    std::vector<std::pair<std::string, std::string>> settings, custom, reserved;
    for (int slot : ShownSlots())
        settings.emplace_back(ParameterOfSlot(slot)->label, JsonString(v.record.Caption(slot)));
    for (const CustomFieldInfo& info : kCustomFields)
        custom.emplace_back(CustomName(info), JsonString(CustomText(v, info)));
    json += ", \"settings\": " + Members(settings) + ", \"custom\": " + Members(custom);
    if (v.withReserved) {
        for (int slot : ReservedSlots())
            reserved.emplace_back(std::to_string(slot), JsonString(v.record.Caption(slot)));
        json += ", \"reserved\": " + Members(reserved);
    }
    if (!v.outOfRange.empty()) {
        json += ", \"out_of_range\": [";
        for (std::size_t i = 0; i < v.outOfRange.size(); ++i) {
            const OutOfRangeValue& o = v.outOfRange[i];
            json += (i ? ", " : "")
                    + Members(
                        {{"field", JsonString(o.label)},
                         {"raw", std::to_string(o.raw)},
                         {v.where == std::string_view("offset") ? "offset" : "reply_byte", std::to_string(o.position)},
                         {"value", JsonString(o.value)},
                         {"reason", JsonString(o.reason)}});
        }
        json += "]";
    }
    if (!v.extraJson.empty())
        json += ", " + v.extraJson;
    output::PrintJson(json + "}");
}

// "2.0v  [out of range: raw byte 0x14 at reply byte 4: outside 3.5v to 11.0v]"
std::string Marked(const SettingsView& v, std::string_view label, const std::string& shown)
{
    const OutOfRangeValue* held = OutOfRange(v, label);
    if (!held)
        return shown;
    char raw[64];
    std::snprintf(raw, sizeof raw, "raw byte 0x%02X at %s %d", held->raw, v.where, held->position);
    return (held->value.empty() ? std::string() : held->value + "  ") + "[out of range: " + raw + ": " + held->reason
           + "]";
}

void PrintPlain(const SettingsView& v)
{
    if (!v.profileName.empty() || v.withReserved)
        std::printf("%-22s %s\n", "Profile", v.profileName.c_str());
    std::printf("%-22s %s\n", "Version", v.version.empty() ? "(unknown)" : v.version.c_str());
    const char* mode = v.record.escMode < 0 ? "(not read)" : v.record.escMode == 0 ? "stock" : "MOD";
    std::printf("%-22s %s\n", "Mode", mode);
    for (int slot : ShownSlots()) {
        const std::string_view label = ParameterOfSlot(slot)->label;
        std::printf("%-22s %s\n", std::string(label).c_str(), Marked(v, label, v.record.Caption(slot)).c_str());
    }
    for (const CustomFieldInfo& info : kCustomFields) {
        std::printf("%-22s %s\n", std::string(info.label).c_str(),
                    Marked(v, info.label, v.record.custom.Text(info.field)).c_str());
    }
    if (v.withReserved) {
        for (int slot : ReservedSlots())
            std::printf("reserved %-13d %s\n", slot, v.record.Caption(slot).c_str());
    }
}

}  // namespace

void PrintSettings(const SettingsView& view, bool json)
{
    if (json)
        PrintJson(view);
    else
        PrintPlain(view);
}

}  // namespace kel::cli
