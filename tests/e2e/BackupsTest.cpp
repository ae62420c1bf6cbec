// kel-cli on kel-sim: a write keeps the settings it replaces, and backups lists
// them newest first against the ESC.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "SimSession.h"

namespace kel::e2e {
namespace {

// The "file" members of kel-cli's backups --json, in order.
std::vector<std::string> Files(const std::string& json)
{
    std::vector<std::string> files;
    const std::regex file("\"file\": \"([^\"]*)\"");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), file); it != std::sregex_iterator(); ++it)
        files.push_back((*it)[1]);
    return files;
}

TEST(Backups, AWriteKeepsTheSettingsItReplacesAndTheyLoadBack)
{
    SimSession sim({});
    ASSERT_NE(sim.Port(), "");
    ::setenv("XDG_DATA_HOME", (sim.Folder() + "/data").c_str(), 1);  // kel-cli's data folder

    ASSERT_EQ(sim.Cli({"write", "Power Level=#2", "Full Brake=#1"}).exitCode, 0);  // backup: factory
    const std::string before = sim.Folder() + "/before.cfg";
    ASSERT_EQ(sim.Cli({"profile", "save", before}).exitCode, 0);
    const std::vector<std::string> first = Files(sim.Cli({"--json", "backups"}).out);
    ASSERT_EQ(first.size(), 1u);
    const RunResult restore = sim.Cli({"write", "--profile", first[0]});  // backup: what `before` holds
    ASSERT_EQ(restore.exitCode, 0) << restore.err;

    const RunResult listed = sim.Cli({"--json", "backups"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const std::vector<std::string> files = Files(listed.out);
    ASSERT_EQ(files.size(), 2u) << listed.out;
    EXPECT_EQ(files[1], first[0]);
    EXPECT_EQ(ReadWholeFile(files[0]), ReadWholeFile(before));
    // The ESC holds the factory settings again: the older backup is the same,
    // the newer one differs in what the first write changed.
    const std::string older = listed.out.substr(listed.out.find(first[0]));
    EXPECT_NE(older.find("\"differences\": []"), std::string::npos) << listed.out;
    const std::string newer = listed.out.substr(0, listed.out.find(first[0]));
    EXPECT_NE(newer.find("\"parameter\": \"Power Level\""), std::string::npos) << listed.out;
    EXPECT_NE(newer.find("\"parameter\": \"Full Brake\""), std::string::npos) << listed.out;
}

}  // namespace
}  // namespace kel::e2e
