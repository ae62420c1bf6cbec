// kel-cli diff and --verify, run in process on the simulated ESC.
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "CliFixture.h"

namespace kel::cli {
namespace {

class CompareOutcomeTest : public CliFixture {
protected:
    // The simulated ESC's factory settings as "profile save" writes them
    // (version 1.2.3.4), with `changes` (offset, byte) made.
    std::string Profile(const std::string& name, std::vector<std::pair<int, char>> changes = {})
    {
        const char factory[] = {6, 0, 2, 2, 0, 2, 0, 0, 0, 3,  0,  0, 4, 0, 0, 3,
                                0, 5, 0, 1, 3, 0, 0, 0, 5, 20, 35, 1, 2, 3, 4};
        std::string bytes(factory, sizeof factory);
        for (const auto& [offset, byte] : changes)
            bytes[static_cast<std::size_t>(offset)] = byte;
        return File(name, bytes);
    }
};

QJsonObject JsonOf(const std::string& out)
{
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out));
    EXPECT_TRUE(doc.isObject()) << out;
    return doc.object();
}

TEST_F(CompareOutcomeTest, DiffPrintsWhatDiffersInPageOrderAndExitsOneOnlyThen)
{
    const std::string same = Profile("same.cfg");
    // Offset 0 is Power Level (1081), 17 Full Brake (1098): later on the pages.
    const std::string race = Profile("race.cfg", {{17, 2}, {0, 4}});
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string out;
    };
    const Case cases[] = {
        {{"--simulate", "diff", "factory"}, 0, ""},
        {{"--simulate", "diff", same}, 0, ""},
        {{"diff", same, "factory"}, 0, ""},
        {{"--simulate", "diff", "esc", "esc"}, 0, ""},
        {{"diff", race, "factory"},
         1,
         "Power Level            " + race
             + ": Level 5  |  factory: Level 7*\n"
               "Full Brake             "
             + race + ": 85%  |  factory: 100%*\n"},
        {{"--simulate", "diff", "factory", race},
         1,
         "Power Level            factory: Level 7*  |  " + race
             + ": Level 5\n"
               "Full Brake             factory: 100%*  |  "
             + race + ": 85%\n"},
        {{"diff"}, 2, ""},
        {{"diff", "a", "b", "c"}, 2, ""},
        {{"diff", (dir / "missing.cfg").string(), "factory"}, 3, ""},
    };
    for (const Case& c : cases) {
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.exit, c.exit) << c.args.back() << "\n" << o.err;
        EXPECT_EQ(o.out, c.out) << c.args.back();
    }
}

TEST_F(CompareOutcomeTest, DiffOfAnotherVersionWarnsAndStillCompares)
{
    const std::string other = Profile("other.cfg", {{29, 9}, {0, 2}});
    const Outcome plain = Run({"--simulate", "diff", other});
    EXPECT_EQ(plain.exit, 1);
    EXPECT_EQ(plain.err, "kel-cli: warning: " + other
                             + " is for firmware Ver: 102904, esc for firmware Ver: 102304; "
                               "compared all the same\n");
    EXPECT_EQ(plain.out, "Power Level            " + other + ": Level 3  |  esc: Level 7*\n");

    const Outcome json = Run({"--json", "--simulate", "diff", other});
    const QJsonObject o = JsonOf(json.out);
    EXPECT_EQ(o["same"].toBool(true), false);
    EXPECT_EQ(o["warnings"].toArray().size(), 1);
    const QJsonArray differences = o["differences"].toArray();
    ASSERT_EQ(differences.size(), 1);
    EXPECT_EQ(differences[0].toObject()["parameter"].toString(), "Power Level");
    EXPECT_EQ(differences[0].toObject()["a"].toString(), "Level 3");
    EXPECT_EQ(differences[0].toObject()["b"].toString(), "Level 7*");
}

TEST_F(CompareOutcomeTest, VerifyAfterWriteAndDefaults)
{
    const Outcome write = Run({"--simulate", "write", "Power Level=Level 5", "--verify"});
    EXPECT_EQ(write.exit, 0) << write.err;
    EXPECT_EQ(write.out, "verified\n");

    const Outcome writeJson =
        Run({"--json", "--simulate", "write", "--verify", "Drag Brake=Custom", "Drag Brake custom=25%"});
    EXPECT_EQ(writeJson.exit, 0) << writeJson.err;
    const QJsonObject verify = JsonOf(writeJson.out)["verify"].toObject();
    EXPECT_TRUE(verify["verified"].toBool());
    EXPECT_TRUE(verify["differences"].toArray().isEmpty());

    const Outcome defaults = Run({"--json", "--simulate", "defaults", "--verify"});
    EXPECT_EQ(defaults.exit, 0) << defaults.err;
    const QJsonObject restored = JsonOf(defaults.out);
    EXPECT_EQ(restored["settings"].toObject()["Power Level"].toString(), "Level 7*");
    EXPECT_TRUE(restored["verify"].toObject()["verified"].toBool());

    EXPECT_EQ(Run({"--simulate", "defaults", "--verify", "now"}).exit, 2);
}

}  // namespace
}  // namespace kel::cli
