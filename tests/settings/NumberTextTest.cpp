#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <tuple>
#include <vector>

#include "settings/CustomFields.h"
#include "settings/NumberText.h"
#include "support/RecordingScreen.h"

namespace kel {
namespace {

using test::RecordingScreen;

TEST(NormaliseNumberText, TidiesDigitsZerosAndUnit)
{
    const std::tuple<const char*, bool, const char*, bool> cases[] = {
        {"1%5", false, "15%", false},   {"015%", false, "15%", false}, {"007%", false, "7%", false},
        {"0%", false, "0%", false},     {"00", false, "00", false},    {"05", false, "05", false},
        {"", false, "%", false},        {"%%7%", false, "7%", false},  {"150", false, "150%", false},
        {"03.5v", true, "3.5v", false}, {"0.5v", true, ".5v", false},  {"3v.4", true, "3.4v", false},
        {"", true, "v", false},         {"1a", false, "0%", true},     {"3.5%", false, "0%", true},
        {"-5%", false, "0%", true},     {"3.5V", true, "NONE", true},  {"NONE", true, "NONE", true},
        {"3,5v", true, "NONE", true},
    };
    for (const auto& [in, volt, out, invalid] : cases) {
        const NormalisedText r = NormaliseNumberText(in, volt);
        EXPECT_EQ(r.text, out) << '"' << in << '"';
        EXPECT_EQ(r.invalidChar, invalid) << '"' << in << '"';
    }
}

TEST(CustomNumber, ReadsTheNumberAsAWriteSendsIt)
{
    const std::tuple<const char*, bool, int> cases[] = {
        {"15%", false, 15},   {"1%5", false, 15},   {"25", false, 25},
        {"3.4v", true, 34},   {"11.0v", true, 110}, {".5v", true, 5},
        {"3.45v", true, 345}, {"NONE", true, 0},    {"99999999999%", false, INT_MAX}};
    for (const auto& [text, volt, number] : cases)
        EXPECT_EQ(CustomNumber(text, volt), number) << text;
}

class CustomFieldsTest : public ::testing::Test {
protected:
    RecordingScreen screen;
    CustomFields fields{screen};

    // Judges the one message `expected` names (nullptr: none) and clears it.
    void ExpectMessage(const char* expected, const std::string& trace)
    {
        ASSERT_EQ(screen.messages.size(), expected ? 1u : 0u) << trace;
        if (expected) {
            EXPECT_EQ(screen.messages[0].text, expected) << trace;
            EXPECT_EQ(screen.messages[0].caption, "ZORV");
            EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
        }
        screen.messages.clear();
    }
};

constexpr const char* kInvalid = "The input data is invalid!";
constexpr const char* kInvalidChar = "The input data include invalid char!";

TEST_F(CustomFieldsTest, TypedTextIsTidiedShownOrRefusedOnce)
{
    struct Case {
        CustomField field;
        const char* typed;
        const char* shown;
        const char* message;
        int value;  // -1: not judged
    };
    const CustomField ib = CustomField::InitialBrake, lv = CustomField::LowVolt;
    // clang-format off
    const Case cases[] = {
        {CustomField::DragBrake, "150", "0%", kInvalid, -1}, {ib, "4x", "0%", kInvalidChar, -1},
        {ib, "1%5", "15%", nullptr, 15}, {ib, "", "%", nullptr, 0}, {ib, "%05", "5%", nullptr, 5},
        // The volt field takes the spin's range only.
        {lv, "3.6v", "3.6v", nullptr, 36}, {lv, "3.4v", "NONE", kInvalid, -1}, {lv, "03.5v", "3.5v", nullptr, 35},
        {lv, "11.0v", "11.0v", nullptr, 110}, {lv, "11.1v", "NONE", kInvalid, -1}, {lv, "3.7", "3.7v", nullptr, 37},
        {lv, "3.45v", "NONE", kInvalid, -1},  // would send 345
        {lv, "0.5v", "NONE", kInvalid, -1}, {lv, "3v", "NONE", kInvalid, -1}, {lv, "3.5x", "NONE", kInvalidChar, -1},
    };
    // clang-format on
    const std::map<CustomField, int> edits = {{ib, 1047}, {CustomField::DragBrake, 1048}, {lv, 1050}};
    for (const Case& c : cases) {
        fields.OnTextEdited(c.field, c.typed);
        EXPECT_EQ(fields.Text(c.field), c.shown) << c.typed;
        if (std::string_view(c.typed) != c.shown) {  // rewritten on the screen
            EXPECT_EQ(screen.texts[edits.at(c.field)], c.shown) << c.typed;
        }
        if (c.value >= 0) {
            EXPECT_EQ(fields.Value(c.field), c.value) << c.typed;
        }
        ExpectMessage(c.message, c.typed);
    }
}

TEST_F(CustomFieldsTest, TypedVoltWaitsWhileItCanStillBecomeValid)
{
    struct Case {
        std::vector<const char*> keys;  // the text after each keystroke
        const char* whileTyping;
        const char* afterFinish;
        const char* message;  // shown by the end, if any
    };
    // clang-format off
    const Case cases[] = {
        {{"3", "3.", "3.5"}, "3.5v", "3.5v", nullptr}, {{"3", "3.", "3.5", "3.5v"}, "3.5v", "3.5v", nullptr},
        {{"1", "11", "11.", "11.0"}, "11.0v", "11.0v", nullptr}, {{"3"}, "3", "NONE", kInvalid},
        {{""}, "", "NONE", kInvalid}, {{"2"}, "NONE", "NONE", kInvalid},  // 2, 2x, 2xx: never 35..110
        {{"1", "11", "11.", "11.5"}, "NONE", "NONE", kInvalid}, {{"3", "3x"}, "NONE", "NONE", kInvalidChar},
    };
    // clang-format on
    for (const Case& c : cases) {
        fields.SetText(CustomField::LowVolt, "4.0v");
        for (const char* key : c.keys)
            fields.OnTyped(CustomField::LowVolt, key);
        EXPECT_EQ(fields.Text(CustomField::LowVolt), c.whileTyping) << c.keys.back();
        fields.OnEntryFinished(CustomField::LowVolt);
        EXPECT_EQ(fields.Text(CustomField::LowVolt), c.afterFinish) << c.keys.back();
        EXPECT_FALSE(fields.Waiting(CustomField::LowVolt));
        ExpectMessage(c.message, c.keys.back());
    }
    // Percent fields have nothing to wait for: 150 is refused at the third key.
    for (const char* key : {"1", "15", "150"})
        fields.OnTyped(CustomField::DragBrake, key);
    EXPECT_EQ(fields.Text(CustomField::DragBrake), "0%");
    ExpectMessage(kInvalid, "150");
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
    // The spin goes on from its own position, not from the typed text.
    fields.EnableEdit(CustomField::InitialBrake, true);
    EXPECT_TRUE(fields.EditEnabled(CustomField::InitialBrake));
    fields.SetSpinPosition(CustomField::InitialBrake, 20);
    fields.OnTextEdited(CustomField::InitialBrake, "50%");
    fields.OnSpin(CustomField::InitialBrake, 1);
    EXPECT_EQ(fields.Text(CustomField::InitialBrake), "21%");
}

}  // namespace
}  // namespace kel
