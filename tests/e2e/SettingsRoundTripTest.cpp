// Settings written through kel-cli come back from the simulated ESC, a refused
// pair stops the write where it says, and a saved profile shows what was read.
#include <gtest/gtest.h>

#include <map>

#include "SimSession.h"
#include "settings/OptionLists.h"
#include "settings/ParameterTable.h"

namespace kel::e2e {
namespace {

using Values = std::map<std::string, std::string>;

// The value of "key" inside the JSON object named `object` of kel-cli's output.
std::string JsonField(const std::string& json, const std::string& object, const std::string& key)
{
    const std::size_t start = json.find("\"" + object + "\": {");
    const std::size_t end = json.find('}', start);
    const std::string needle = "\"" + key + "\": \"";
    const std::size_t at = json.find(needle, start);
    if (start == std::string::npos || at == std::string::npos || at > end)
        return "<missing>";
    const std::size_t from = at + needle.size();
    return json.substr(from, json.find('"', from) - from);
}

std::string JsonObject(const std::string& json, const std::string& object)
{
    const std::size_t start = json.find("\"" + object + "\": {");
    return start == std::string::npos ? "" : json.substr(start, json.find('}', start) - start + 1);
}

// The 18 parameters a page shows, by label, with their slots.
std::vector<const Parameter*> PageParameters()
{
    std::vector<const Parameter*> all;
    for (const Parameter& p : kParameters) {
        if (p.page != 0)
            all.push_back(&p);
    }
    return all;
}

// A value other than the factory's for every parameter; Drag Brake and Low
// volt cut on "Custom", so that their custom values travel too.
struct NewSettings {
    Values entries;                 // label → entry text
    std::vector<std::string> args;  // kel-cli write arguments
};

NewSettings OtherThanFactory()
{
    NewSettings s;
    for (const Parameter* p : PageParameters()) {
        const std::vector<std::string> list = BuildOptionList(p->source, -1, 1);
        int index = 0;
        while (index < static_cast<int>(list.size()) && !list[index].ends_with("*"))
            ++index;
        index = (index + 1) % static_cast<int>(list.size());
        if (p->label == "Drag Brake")
            index = 7;
        if (p->label == "Low volt cut")
            index = 4;
        s.entries[std::string(p->label)] = list[index];
        s.args.push_back(std::string(p->label) + "=#" + std::to_string(index));
    }
    s.args.push_back("Drag Brake custom=25%");
    s.args.push_back("Low volt cut custom=3.8v");
    return s;
}

const Values kNewCustom{{"Initial Brake", "20%"}, {"Drag Brake", "25%"}, {"Low volt cut", "3.8v"}};

std::vector<std::string> WriteArgs(const NewSettings& s)
{
    std::vector<std::string> args{"write"};
    args.insert(args.end(), s.args.begin(), s.args.end());
    return args;
}

TEST(SettingsRoundTrip, EveryParameterWrittenIsReadBack)
{
    SimSession sim({});
    ASSERT_NE(sim.Port(), "");
    const std::string factory = sim.Cli({"--json", "read"}).out;
    const NewSettings wanted = OtherThanFactory();
    ASSERT_EQ(wanted.entries.size(), 18u);

    const RunResult write = sim.Cli(WriteArgs(wanted));
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_NE(write.err.find("\nSUCCESSED\n"), std::string::npos) << write.err;

    const std::string json = sim.Cli({"--json", "read"}).out;
    for (const auto& [label, entry] : wanted.entries) {
        EXPECT_NE(JsonField(factory, "settings", label), entry) << label << " was already " << entry;
        EXPECT_EQ(JsonField(json, "settings", label), entry) << label;
    }
    for (const auto& [field, text] : kNewCustom)
        EXPECT_EQ(JsonField(json, "custom", field), text) << field << " custom";
}

TEST(SettingsRoundTrip, RefusedPairIsNamedAndTheEarlierPairsStay)
{
    SimSession sim({"--fault", "refused-tag=0xE5"});  // Full Brake, the seventh pair
    ASSERT_NE(sim.Port(), "");
    const std::string factory = sim.Cli({"--json", "read"}).out;
    const NewSettings wanted = OtherThanFactory();

    const RunResult write = sim.Cli(WriteArgs(wanted));
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_NE(write.err.find("\nFull BrakeSet Failed\nFAILED\n"), std::string::npos) << write.err;

    const std::string json = sim.Cli({"--json", "read"}).out;
    bool beforeRefused = true;
    for (const Parameter& pair : kPairs) {
        beforeRefused = beforeRefused && pair.tag != 0xE5;
        std::string object = "settings", key = std::string(pair.label);
        if (pair.source == 1048 || pair.source == 1050) {
            object = "custom";
            key = pair.source == 1048 ? "Drag Brake" : "Low volt cut";
        } else if (!wanted.entries.contains(key)) {
            continue;  // the ESC mode: unchanged either way
        }
        const std::string now = JsonField(json, object, key);
        const std::string written = object == "custom" ? kNewCustom.at(key) : wanted.entries.at(key);
        if (beforeRefused)
            EXPECT_EQ(now, written) << key << " was sent before the refused pair";
        else
            EXPECT_EQ(now, JsonField(factory, object, key)) << key << " comes after the refused pair";
    }
}

TEST(SettingsRoundTrip, SavedProfileShowsWhatWasRead)
{
    SimSession sim({});
    ASSERT_NE(sim.Port(), "");
    ASSERT_EQ(sim.Cli(WriteArgs(OtherThanFactory())).exitCode, 0);
    const std::string path = sim.Folder() + "/race.day.cfg";

    const RunResult save = sim.Cli({"profile", "save", path});
    ASSERT_EQ(save.exitCode, 0) << save.err;
    EXPECT_EQ(ReadWholeFile(path).size(), 31u);
    const std::string read = sim.Cli({"--json", "read"}).out;
    const RunResult show = sim.Cli({"--json", "profile", "show", path});
    ASSERT_EQ(show.exitCode, 0) << show.err;

    EXPECT_EQ(JsonObject(show.out, "settings"), JsonObject(read, "settings"));
    EXPECT_EQ(JsonObject(show.out, "custom"), JsonObject(read, "custom"));
    EXPECT_NE(show.out.find("\"version\": \"Ver: 102304\""), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("\"name\": \"race\""), std::string::npos) << show.out;
}

}  // namespace
}  // namespace kel::e2e
