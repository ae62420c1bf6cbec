// What kel-cli prints and returns for each outcome, run in process.
#include <QJsonArray>

#include "CliFixture.h"
#include "cli/Json.h"

namespace kel::cli {
namespace {

using CliOutcomeTest = CliFixture;

TEST_F(CliOutcomeTest, JsonOnEveryOutcomeWithTheExitStatusOfTheContract)
{
    const std::string good = Profile("good.cfg");
    const std::string bad = Profile("low.cfg", {{26, 20}});  // 2.0v
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string says;  // in the error message, or a member of the result
    };
    const Case cases[] = {
        {{"--json", "--port", "/dev/kel-no-such-box", "read"}, 1, "does not exist"},
        {{"--json", "--port", "", "read"}, 2, "empty name"},
        {{"read", "--json", "--frobnicate"}, 2, "read takes no arguments"},
        {{"--json", "teleport"}, 2, "unknown command"},
        {{"--json", "--frobnicate", "read"}, 2, "unknown option '--frobnicate'"},
        {{"--json", "detect", "--verify"}, 2, "detect: unexpected argument '--verify'"},
        {{"--json", "detect", "--as", "boxx"}, 2, "--as takes esc, box or fix, not 'boxx'"},
        {{"--json", "write", "--mode"}, 2, "--mode needs a value"},
        {{"--json", "flash-esc", "--fix"}, 2, "flash-esc needs a .zrv file"},
        {{"--json", "diff", "a", "b", "c"}, 2, "diff takes A [B]"},
        {{"--json", "--port", "x", "read", "--simulate"}, 2, "exclude each other"},
        {{"--json", "profile", "show", (dir / "missing.cfg").string()}, 3, "File Error!"},
        {{"--json", "profile", "show", bad}, 3, "Low volt cut custom = 2.0v (raw byte 0x14 at offset 26)"},
        {{"--json", "--simulate", "write", "--profile", bad}, 3, "Low volt cut custom = 2.0v (raw byte 0x14 at"},
        {{"--json", "check", (dir / "missing.zrv").string()}, 3, "cannot open"},
        {{"--json", "--trace", (dir / "no-folder" / "box.log").string(), "--simulate", "read"},
         3,
         "cannot open the trace file"},
        {{"--json", "read", "--trace"}, 2, "--trace needs a file"},
        {{"--json", "--simulate", "write", "Drag Brake=Custom", "Drag Brake custom="}, 2, "gives no value"},
        {{"--json", "profile", "show", good}, 0, "settings"},
        {{"--json", "--version"}, 0, "version"},
        {{"--json", "--help"}, 0, "help"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.exit, c.exit) << o.err;
        const QJsonObject json = OneJsonObject(o.out);
        if (c.exit == 0) {
            EXPECT_TRUE(json.contains(QString::fromStdString(c.says))) << o.out;
            continue;
        }
        const QJsonObject error = json["error"].toObject();
        EXPECT_EQ(error["exit"].toInt(), c.exit) << o.out;
        EXPECT_NE(o.out.find(c.says), std::string::npos) << o.out;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << "stderr keeps saying it: " << o.err;
    }
    for (const char* mode : {"--json", "--simulate"}) {  // output that cannot be written is no success
        const Outcome full = Run({mode, "profile", "show", good}, "/dev/full");
        EXPECT_TRUE(full.exit != 0 && full.err.find("cannot write standard output") != std::string::npos) << full.err;
    }
}

TEST(JsonString, EscapesWhatIsNotWellFormedUtf8AndKeepsWhatIs)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain \"q\" \\ \n\t\x01", R"("plain \"q\" \\ \n\t\u0001")"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},  // kept
        // An overlong "/", a surrogate, a sequence cut short at the end.
        {"\xc0\xaf \xed\xa0\x80 \xe2\x82", R"("\u00c0\u00af \u00ed\u00a0\u0080 \u00e2\u0082")"},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonString(text), json);
}

// Labels and values are checked before anything is sent; #N picks entry N.
TEST_F(CliOutcomeTest, WriteNamesTheWrongLabelOrValue)
{
    struct Case {
        std::string assignment;
        int exit;
        std::string says;
    };
    const Case cases[] = {
        {"Nope=1", 2, "unknown label 'Nope'; the labels are \"Power Level\""},
        {"Power Level", 2, "'Power Level' is not LABEL=VALUE"},
        {"Power Level=Level 99", 2, "'Level 99' is not a value of Power Level; the values are \"Level 1\""},
        {"Power Level=#9", 2, "(or #0 to #8)"},
        {"Power Level=#1x", 2, "'#1x' is not a value"},
        {"Power Level=#8", 0, ""},
        {"Power Level=level 3", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment);
        const Outcome o = Run({"--json", "--simulate", "write", c.assignment, "--verify"});
        EXPECT_EQ(o.exit, c.exit) << o.err;
        const QJsonObject json = OneJsonObject(o.out);
        if (c.exit != 0) {
            EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
            EXPECT_FALSE(json.contains("written")) << "nothing is sent: " << o.out;
        } else {
            EXPECT_TRUE(json["written"].toBool()) << o.out;
            EXPECT_TRUE(json["verify"].toObject()["verified"].toBool()) << o.out;
        }
    }
}

// The members scripts rely on, with their types; defaults verified.
TEST_F(CliOutcomeTest, JsonShapesOfDetectProfileCheckAndDefaults)
{
    const Outcome detect = Run({"--json", "--simulate", "detect"});
    ASSERT_EQ(detect.exit, 0) << detect.err;
    const QJsonObject d = OneJsonObject(detect.out);
    EXPECT_EQ(d["usb"].toInt(), 2);
    EXPECT_EQ(d["esc"].toInt(), 2);
    EXPECT_EQ(d["version"].toString(), "Ver: 102304");

    // A name that is not UTF-8 is escaped, not passed through.
    const Outcome show = Run({"--json", "profile", "show", Profile("caf\xe9.cfg")});
    ASSERT_EQ(show.exit, 0) << show.err;
    const QJsonObject p = OneJsonObject(show.out);
    EXPECT_EQ(p["name"].toString(), QString::fromLatin1("caf\xe9"));
    EXPECT_EQ(p["version"].toString(), "Ver: 102304");
    EXPECT_EQ(p["version_bytes"].toArray(), QJsonArray({1, 2, 3, 4}));
    EXPECT_EQ(p["settings"].toObject().size(), 18);
    EXPECT_EQ(p["settings"].toObject()["Power Level"].toString(), "Level 7*");
    EXPECT_EQ(p["custom"].toObject()["Low volt cut"].toString(), "3.5v");
    EXPECT_TRUE(p["reserved"].isObject());

    const Outcome good = Run({"--json", "check", folder.Write("g.xup", std::string("0003AABBCC0000"))});
    EXPECT_EQ(good.exit, 0) << good.err;
    const QJsonObject g = OneJsonObject(good.out);
    EXPECT_TRUE(g["flashable"].toBool());
    EXPECT_EQ(g["findings"].toArray().last().toString(), "info: image of 7 bytes in 2 blocks");
    const Outcome bad = Run({"--json", "check", folder.Write("b.zrv", std::string("zz"))});
    EXPECT_EQ(bad.exit, 1);
    EXPECT_FALSE(OneJsonObject(bad.out)["flashable"].toBool());
    EXPECT_NE(
        Run({"check", folder.Write("c.xup", std::string("0003AABBCC0000"))}).out.find("c.xup: would flash as written"),
        std::string::npos);

    const Outcome defaults = Run({"--json", "--simulate", "defaults", "--verify"});
    EXPECT_EQ(defaults.exit, 0) << defaults.err;
    const QJsonObject restored = OneJsonObject(defaults.out);
    EXPECT_EQ(restored["settings"].toObject()["Power Level"].toString(), "Level 7*");
    EXPECT_TRUE(restored["verify"].toObject()["verified"].toBool());
}

// diff on profiles and the simulated ESC; a profile of another firmware
// version is compared all the same, with a warning.
TEST_F(CliOutcomeTest, DiffPrintsWhatDiffersInPageOrderAndExitsOneOnlyThen)
{
    // Offset 0 is Power Level (1081), 17 Full Brake (1098): later on the pages.
    const std::string race = Profile("race.cfg", {{17, 2}, {0, 4}});
    const std::string other = Profile("other.cfg", {{29, 9}, {0, 2}});
    const auto rows = [](const std::string& a, const std::string& a1, const std::string& a2, const std::string& b,
                         const std::string& b1, const std::string& b2) {
        return "Power Level            " + a + ": " + a1 + "  |  " + b + ": " + b1 + "\nFull Brake             " + a
               + ": " + a2 + "  |  " + b + ": " + b2 + "\n";
    };
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string out, err = "";
    };
    const Case cases[] = {
        {{"--simulate", "diff", "factory"}, 0, ""},
        {{"diff", race, "factory"}, 1, rows(race, "Level 5", "85%", "factory", "Level 7*", "100%*")},
        {{"--simulate", "diff", "factory", race}, 1, rows("factory", "Level 7*", "100%*", race, "Level 5", "85%")},
        {{"--simulate", "diff", other},
         1,
         "Power Level            " + other + ": Level 3  |  esc: Level 7*\n",
         "kel-cli: warning: " + other
             + " is for firmware Ver: 102904, esc for firmware Ver: 102304; compared all the same\n"},
        {{"diff"}, 2, ""},
        {{"diff", (dir / "missing.cfg").string(), "factory"}, 3, ""},
    };
    for (const Case& c : cases) {
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.exit, c.exit) << c.args.back() << "\n" << o.err;
        EXPECT_EQ(o.out, c.out) << c.args.back();
        EXPECT_TRUE(c.exit >= 2 || o.err == c.err) << o.err;  // errors are checked elsewhere
    }
    const QJsonObject json = OneJsonObject(Run({"--json", "--simulate", "diff", other}).out);
    EXPECT_EQ(json["differences"].toArray().size(), 1);
    EXPECT_EQ(json["warnings"].toArray().size(), 1);
}

}  // namespace
}  // namespace kel::cli
