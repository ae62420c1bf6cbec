#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "settings/CustomFields.h"
#include "settings/NumberText.h"
#include "support/RecordingScreen.h"

namespace kel {
namespace {

using test::RecordingScreen;

struct NormaliseCase {
    const char* in;
    bool volt;
    const char* out;
    bool invalid;
};

TEST(NormaliseNumberText, TidiesDigitsZerosAndUnit)
{
    const NormaliseCase cases[] = {
        {"1%5", false, "15%", false},   {"015%", false, "15%", false}, {"007%", false, "7%", false},
        {"0%", false, "0%", false},     {"00", false, "00", false},    {"05", false, "05", false},
        {"", false, "%", false},        {"%%7%", false, "7%", false},  {"150", false, "150%", false},
        {"03.5v", true, "3.5v", false}, {"0.5v", true, ".5v", false},  {"3v.4", true, "3.4v", false},
        {"", true, "v", false},         {"1a", false, "0%", true},     {"3.5%", false, "0%", true},
        {"-5%", false, "0%", true},     {"3.5V", true, "NONE", true},  {"NONE", true, "NONE", true},
        {"3,5v", true, "NONE", true},
    };
    for (const NormaliseCase& c : cases) {
        const NormalisedText r = NormaliseNumberText(c.in, c.volt);
        EXPECT_EQ(r.text, c.out) << '"' << c.in << '"';
        EXPECT_EQ(r.invalidChar, c.invalid) << '"' << c.in << '"';
        if (!r.invalidChar) {  // tidied texts are fixed points
            EXPECT_EQ(NormaliseNumberText(r.text, c.volt).text, r.text) << '"' << c.in << '"';
        }
    }
}

TEST(CustomNumber, ReadsTheNumberAsAWriteSendsIt)
{
    EXPECT_EQ(CustomNumber("15%", false), 15);
    EXPECT_EQ(CustomNumber("1%5", false), 15);  // only the first "%" goes
    EXPECT_EQ(CustomNumber("25", false), 25);
    EXPECT_EQ(CustomNumber("3.4v", true), 34);
    EXPECT_EQ(CustomNumber("11.0v", true), 110);
    EXPECT_EQ(CustomNumber(".5v", true), 5);
    EXPECT_EQ(CustomNumber("3.45v", true), 345);
    EXPECT_EQ(CustomNumber("NONE", true), 0);
    EXPECT_EQ(CustomNumber("99999999999%", false), INT_MAX);
    EXPECT_EQ(CustomByte("300%", false), 300 & 0xFF);
    EXPECT_EQ(FormatVolt(35), "3.5v");
    EXPECT_EQ(FormatVolt(29), "2.9v");
    EXPECT_EQ(FormatPercent(7), "7%");
}

class CustomFieldsTest : public ::testing::Test {
protected:
    RecordingScreen screen;
    CustomFields fields{screen};

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& m : screen.messages) {
            EXPECT_EQ(m.caption, "ZORV");
            EXPECT_EQ(m.icon, MessageIcon::Error);
            texts.push_back(m.text);
        }
        return texts;
    }
};

TEST_F(CustomFieldsTest, PercentOutOfRangeIsRefusedOnce)
{
    fields.OnTextEdited(CustomField::DragBrake, "150");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The input data is invalid!"});
    EXPECT_EQ(fields.Text(CustomField::DragBrake), "0%");
    EXPECT_EQ(screen.texts[1048], "0%");
}

TEST_F(CustomFieldsTest, LetterInPercentFieldGivesOneMessageAndZero)
{
    fields.OnTextEdited(CustomField::InitialBrake, "4x");
    EXPECT_EQ(Messages(), std::vector<std::string>{"The input data include invalid char!"});
    EXPECT_EQ(screen.texts[1047], "0%");
}

TEST_F(CustomFieldsTest, TypedTextIsTidiedAndShown)
{
    fields.OnTextEdited(CustomField::InitialBrake, "1%5");
    EXPECT_EQ(screen.texts[1047], "15%");
    EXPECT_EQ(fields.Value(CustomField::InitialBrake), 15);
    fields.OnTextEdited(CustomField::InitialBrake, "");
    EXPECT_EQ(screen.texts[1047], "%");
    EXPECT_EQ(fields.Value(CustomField::InitialBrake), 0);
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(CustomFieldsTest, VoltFieldAcceptsTheSpinRangeOnly)
{
    struct Case {
        const char* typed;
        const char* shown;
        const char* message;
    };
    const Case cases[] = {
        {"3.6v", "3.6v", nullptr},
        {"3.4v", "NONE", "The input data is invalid!"},
        {"03.5v", "3.5v", nullptr},
        {"11.0v", "11.0v", nullptr},
        {"11.1v", "NONE", "The input data is invalid!"},
        {"3.7", "3.7v", nullptr},
        {"3.45v", "NONE", "The input data is invalid!"},  // would send 345
        {"0.5v", "NONE", "The input data is invalid!"},
        {"3v", "NONE", "The input data is invalid!"},
        {"3.5x", "NONE", "The input data include invalid char!"},
    };
    for (const Case& c : cases) {
        screen.messages.clear();
        fields.OnTextEdited(CustomField::LowVolt, c.typed);
        EXPECT_EQ(fields.Text(CustomField::LowVolt), c.shown) << c.typed;
        ASSERT_EQ(screen.messages.size(), c.message ? 1u : 0u) << c.typed;
        if (c.message) {
            EXPECT_EQ(screen.messages[0].text, c.message);
        }
    }
}

// Typing key by key: a text that can still reach the range waits for the
// end of the entry; one that cannot is judged at once.
TEST_F(CustomFieldsTest, TypedVoltWaitsWhileItCanStillBecomeValid)
{
    struct Case {
        std::vector<const char*> keys;  // the text after each keystroke
        const char* whileTyping;
        const char* afterFinish;
        const char* message;  // shown by the end, if any
    };
    const Case cases[] = {
        {{"3", "3.", "3.5"}, "3.5v", "3.5v", nullptr},
        {{"3", "3.", "3.5", "3.5v"}, "3.5v", "3.5v", nullptr},
        {{"1", "11", "11.", "11.0"}, "11.0v", "11.0v", nullptr},
        {{"3"}, "3", "NONE", "The input data is invalid!"},
        {{""}, "", "NONE", "The input data is invalid!"},
        {{"2"}, "NONE", "NONE", "The input data is invalid!"},  // 2, 2x, 2xx: never 35..110
        {{"1", "11", "11.", "11.5"}, "NONE", "NONE", "The input data is invalid!"},
        {{"3", "3x"}, "NONE", "NONE", "The input data include invalid char!"},
    };
    for (const Case& c : cases) {
        fields.SetText(CustomField::LowVolt, "4.0v");
        screen.messages.clear();
        for (const char* key : c.keys)
            fields.OnTyped(CustomField::LowVolt, key);
        EXPECT_EQ(fields.Text(CustomField::LowVolt), c.whileTyping) << c.keys.back();
        fields.OnEntryFinished(CustomField::LowVolt);
        EXPECT_EQ(fields.Text(CustomField::LowVolt), c.afterFinish) << c.keys.back();
        EXPECT_FALSE(fields.Waiting(CustomField::LowVolt));
        ASSERT_EQ(screen.messages.size(), c.message ? 1u : 0u) << c.keys.back();
        if (c.message) {
            EXPECT_EQ(screen.messages[0].text, c.message);
        }
    }
    // Percent fields have nothing to wait for: 150 is refused at the third key.
    screen.messages.clear();
    for (const char* key : {"1", "15", "150"})
        fields.OnTyped(CustomField::DragBrake, key);
    EXPECT_EQ(fields.Text(CustomField::DragBrake), "0%");
    EXPECT_EQ(screen.messages.size(), 1u);
}

TEST_F(CustomFieldsTest, SpinClampsAndRewritesTheText)
{
    fields.SetSpinPosition(CustomField::DragBrake, 100);
    fields.OnSpin(CustomField::DragBrake, 1);
    EXPECT_EQ(screen.texts[1048], "100%");
    EXPECT_EQ(fields.SpinPosition(CustomField::DragBrake), 100);

    fields.SetSpinPosition(CustomField::LowVolt, 35);
    fields.OnSpin(CustomField::LowVolt, -1);
    EXPECT_EQ(screen.texts[1050], "3.5v");
    fields.OnSpin(CustomField::LowVolt, 1);
    EXPECT_EQ(screen.texts[1050], "3.6v");
    EXPECT_EQ(screen.spins[1051], 36);
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(CustomFieldsTest, SpinContinuesFromItsOwnPositionNotTheTypedText)
{
    fields.EnableEdit(CustomField::InitialBrake, true);
    EXPECT_TRUE(fields.EditEnabled(CustomField::InitialBrake));
    fields.SetSpinPosition(CustomField::InitialBrake, 20);
    fields.OnTextEdited(CustomField::InitialBrake, "50%");
    fields.OnSpin(CustomField::InitialBrake, 1);
    EXPECT_EQ(fields.Text(CustomField::InitialBrake), "21%");
}

// A window that reports every text the program sets as an edit of the user.
class EchoingScreen : public RecordingScreen {
public:
    CustomFields* fields = nullptr;
    int depth = 0, maxDepth = 0;
    void SetText(int id, std::string_view text) override
    {
        RecordingScreen::SetText(id, text);
        if (!fields || id < 1047 || id > 1050 || id == 1049)
            return;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        ASSERT_LT(depth, 10) << "change handling does not settle";
        const CustomField field = id == 1047   ? CustomField::InitialBrake
                                  : id == 1048 ? CustomField::DragBrake
                                               : CustomField::LowVolt;
        fields->OnTextEdited(field, text);
        --depth;
    }
};

TEST(CustomFieldsReentry, ProgramTextsReportedBackAsEditsSettleWithOneMessage)
{
    EchoingScreen screen;
    CustomFields fields{screen};
    screen.fields = &fields;
    fields.SetText(CustomField::DragBrake, "007%");
    fields.SetText(CustomField::LowVolt, "0.5v");
    fields.OnTextEdited(CustomField::InitialBrake, "1z");
    EXPECT_EQ(fields.Text(CustomField::DragBrake), "7%");
    EXPECT_EQ(fields.Text(CustomField::LowVolt), "NONE");
    EXPECT_EQ(fields.Text(CustomField::InitialBrake), "0%");
    EXPECT_EQ(screen.messages.size(), 2u);  // one per refusal
    EXPECT_LE(screen.maxDepth, 1);
}

}  // namespace
}  // namespace kel
