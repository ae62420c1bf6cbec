#include "SettingsFixture.h"

#include "link/Protocol.h"
#include "support/StopAfterBytes.h"

namespace kel {
namespace {

using test::Bytes;
using test::ExpectCaptions;
using test::ExpectEnabled;
using test::ExpectOneMessage;
using test::SampleReply;

// What the sample reply's record sends back when nothing changed.
const Bytes kGoldenWrite = {
    0xE1, 0x01, 0xE2, 0x03, 0xD2, 0x14, 0xE3, 0x20, 0xD3, 0x23, 0xE4, 0x06, 0xE5, 0x64,
    0xE6, 0x32, 0xE7, 0xC8, 0xE8, 0x06, 0xE9, 0x1E, 0xEA, 0x03, 0xEB, 0x01, 0xEC, 0x0F,
    0xED, 0x02, 0xEE, 0x04, 0xEF, 0x00, 0xF0, 0x02, 0xF1, 0x00, 0xF5, 0x01, 0xFE, 0x01,
};

class SettingsExchangeTest : public test::SettingsFixture {
protected:
    // Reads `reply` (the sample when empty); the pairs count from here.
    void Read(const Bytes& reply = {})
    {
        esc.reply = reply.empty() ? SampleReply() : reply;
        exchange.ReadSettings();
        esc.pairs.clear();
    }
    Bytes PairBytes() const
    {
        Bytes all;
        for (const Bytes& p : esc.pairs)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }
    static Bytes Sample(std::initializer_list<std::pair<int, std::uint8_t>> changes)
    {
        Bytes reply = SampleReply();
        for (const auto& [at, value] : changes)
            reply[static_cast<std::size_t>(at)] = value;
        return reply;
    }
};

TEST_F(SettingsExchangeTest, ReadWakesRequestsAndShowsTheReply)
{
    const auto mark = Mark();
    const auto start = clock.NowMs();
    Read();
    EXPECT_EQ(clock.NowMs() - start, 150) << "answered at once, a read waits only the 150 ms settle at its end";
    EXPECT_EQ(WritesSince(mark), (std::vector<Bytes>{{0xD5}, {0xD5}, {0xD5}, {0xD8}}));
    // clang-format off
    ExpectCaptions(record, {{1102, "For/Rev/Brake"}, {1096, "10%*"}, {1101, "3.2v/Cell*"}, {1081, "Level 7*"},
                            {1098, "100%*"}, {1103, "50%"}, {1095, "=Drag Brake*"}, {1084, "6%*"}, {1085, "30 deg"},
                            {1104, "Reverse"}});
    // clang-format on
    test::ExpectTexts(screen, {{1081, "Level 7*"}, {1047, "25%"}, {1048, "20%"}, {1050, "3.5v"}});
    EXPECT_EQ(screen.spins, (std::map<int, int>{{1046, 25}, {1049, 20}, {1051, 35}}));
    EXPECT_EQ(record.escMode, 1);
    EXPECT_TRUE(screen.IsEnabled(1004) && screen.IsEnabled(1000));
    EXPECT_EQ(timer.log.back(), "Start 500");
    EXPECT_TRUE(screen.messages.empty());

    Read(Sample({{22, 0}}));  // stock mode
    EXPECT_EQ(record.escMode, 0);
    EXPECT_FALSE(screen.IsEnabled(1004) || screen.IsEnabled(1005));
    EXPECT_TRUE(screen.IsEnabled(1002));
}

TEST_F(SettingsExchangeTest, MissingReplyStopsPollingWithAMessage)
{
    esc.answersSettings = false;
    exchange.ReadSettings();
    ExpectOneMessage(screen, "Please Update Device to Latest Firmware!", "ZORV");
    EXPECT_FALSE(timer.running);
    EXPECT_FALSE(screen.IsEnabled(1000) || screen.IsEnabled(1002));
    EXPECT_EQ(record.Caption(1081), "");
    esc.answersSettings = true;  // the next good read gives the buttons back
    Read();
    EXPECT_TRUE(screen.IsEnabled(1000));
}

TEST_F(SettingsExchangeTest, ReplyWithoutEndMarkShowsNothingButIsKeptForTheCustomPairs)
{
    Read();
    Read(Sample({{1, 5}, {2, 60}, {4, 90}, {22, 0}, {23, 0}}));
    EXPECT_EQ(record.Caption(1096), "10%*");
    EXPECT_EQ(record.escMode, 1);
    EXPECT_EQ(timer.log.back(), "Start 500");
    const SettingsBlock block = EncodeSettings(record);
    EXPECT_EQ(block[5], 60);  // Drag Brake custom pair
    EXPECT_EQ(block[9], 90);  // Low volt cut custom pair
}

TEST_F(SettingsExchangeTest, SettingsRequestIsResentFiveTimesAtMost)
{
    for (const int failures : {5, 6}) {
        int requests = 0;
        flaky.fails = [&](const Bytes& data) { return data[0] == 0xD8 && ++requests <= failures; };
        record.SetCaption(1081, "");
        Read();
        EXPECT_EQ(requests, 6);
        EXPECT_EQ(record.Caption(1081), failures == 5 ? "Level 7*" : "");
    }
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_TRUE(timer.running);  // polling resumes
}

// A custom value out of range is refused as a typed one is; a write sends back what the ESC holds.
TEST_F(SettingsExchangeTest, ValuesHeldOutOfRangeLeaveCaptionsAndAreRefusedByTheirField)
{
    Read();
    // Full Brake index -1, no Initial Brake byte, no Low volt cut byte, past the Power Level list; 2.0v.
    Read(Sample({{6, 70}, {8, 7}, {3, 31}, {5, 9}, {7, 75}, {4, 0x14}}));
    ExpectCaptions(record,
                   {{1098, "100%*"}, {1095, "=Drag Brake*"}, {1101, "3.2v/Cell*"}, {1081, "Level 7*"}, {1103, "75%"}});
    ExpectOneMessage(screen, "The input data is invalid!", "ZORV");
    EXPECT_EQ(record.custom.Text(CustomField::LowVolt), "NONE");
    EXPECT_EQ(EncodeSettings(record)[9], 0x14);
}

TEST_F(SettingsExchangeTest, CustomEntriesEnableTheirSpinsAndDecodingNeverDisables)
{
    Read(Sample({{8, 255}, {1, 7}, {3, 255}}));
    EXPECT_EQ(record.Caption(1095), "Custom");
    ExpectEnabled(screen, {{1046, true}, {1049, true}, {1051, true}});
    EXPECT_FALSE(screen.enabled.count(1047));  // edits are not touched
    Read();
    EXPECT_EQ(record.Caption(1095), "=Drag Brake*");
    EXPECT_TRUE(record.custom.SpinEnabled(CustomField::InitialBrake));
    EXPECT_TRUE(screen.enabled.at(1046));
}

// Every write ends with 0xDF, closes the pop-up and polls again. Five resends
// serve the whole write; 10 ms follow each pair taken, then 500 ms on success
// or 1 s on a failure, and up to 200 ms for a second acknowledge.
TEST_F(SettingsExchangeTest, WriteOutcomesPairsAndTimes)
{
    const struct {
        const char* name;
        std::vector<std::uint8_t> refusedOnce;
        Bytes pairAnswer;
        bool endOfWriteAnswered;
        const char* failed;  // the detail shown; nullptr on success
        std::size_t pairs;   // sent, resends included
        int taken;
        std::int64_t ms;
    } cases[] = {
        // clang-format off
        {"all taken", {}, {1, 1}, true, nullptr, 21, 21, 21 * 10 + 500},
        {"five resends", {0xE1, 0xE2, 0xD2, 0xE3, 0xD3}, {1, 1}, true, nullptr, 26, 21, 21 * 10 + 500},
        {"a sixth refusal, 0xDF unanswered", {0xE1, 0xE2, 0xD2, 0xE3, 0xD3, 0xE4}, {1, 1}, false,
         "Punch ProfileSet Failed", 11, 5, 5 * 10 + 1000 + 150},
        {"a second acknowledge of 0", {}, {1, 0}, true, "Operation ModeSet Failed", 1, 0, 1000},
        {"no second acknowledge", {}, {1}, true, nullptr, 21, 21, 21 * (200 + 10) + 500},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Read();
        for (std::uint8_t tag : c.refusedOnce)
            esc.refusals[tag] = 1;
        esc.pairAnswer = c.pairAnswer;
        esc.answersEndOfWrite = c.endOfWriteAnswered;
        screen.settingsProgressPositions.clear();
        screen.settingsProgressDetail.clear();
        const auto start = clock.NowMs();
        EXPECT_EQ(exchange.Apply(), !c.failed);
        EXPECT_EQ(clock.NowMs() - start, c.ms);
        EXPECT_EQ(esc.pairs.size(), c.pairs);
        EXPECT_EQ(screen.settingsProgressTitle, !c.failed);
        EXPECT_EQ(screen.settingsProgressDetail, c.failed ? c.failed : "");
        std::vector<int> steps;
        for (int k = 1; k <= c.taken; ++k)
            steps.push_back(5 * k);
        EXPECT_EQ(screen.settingsProgressPositions, steps);
        EXPECT_EQ(device.writes.back(), Bytes{0xDF});
        EXPECT_FALSE(screen.settingsProgressOpen);
        EXPECT_EQ(timer.log.back(), "Start 500");
        EXPECT_TRUE(screen.messages.empty());
    }
}

TEST_F(SettingsExchangeTest, StockModeSendsZeroForBoostAndTurboAndCustomValuesOnlyOnCustom)
{
    Read();
    const auto mod = EncodeSettings(record);
    record.escMode = 0;
    const auto stock = EncodeSettings(record);
    record.escMode = -1;
    const auto unknown = EncodeSettings(record);
    for (int k : {10, 11, 13, 14, 15, 16}) {
        EXPECT_EQ(stock[2 * k + 1], 0) << k;
        EXPECT_EQ(unknown[2 * k + 1], mod[2 * k + 1]) << k;
    }
    EXPECT_EQ(mod[21], 30);  // Boost Timing at index 30
    EXPECT_EQ(stock[41], 0);
    EXPECT_EQ(unknown[41], 0xFF);  // the mode's low byte
    for (int k : {0, 1, 5, 12, 17})
        EXPECT_EQ(stock[2 * k + 1], mod[2 * k + 1]) << k;

    // Custom values come from their field only on "Custom".
    record.ChooseOption(1101, 4);
    record.custom.OnTextEdited(CustomField::LowVolt, "3.6v");
    record.custom.OnTextEdited(CustomField::DragBrake, "45%");
    const auto block = EncodeSettings(record);
    EXPECT_EQ(block[7], 255);  // Low volt cut on "Custom"
    EXPECT_EQ(block[9], 36);
    EXPECT_EQ(block[5], 20);  // Drag Brake not on "Custom": last reply's byte 2
    record.ChooseOption(1096, 7);
    EXPECT_EQ(EncodeSettings(record)[5], 45);
    EXPECT_EQ(EncodeSettings(record)[3], 7);
}

TEST_F(SettingsExchangeTest, NothingIsSentWithoutEscOrWhileAnUpdateRuns)
{
    uart.escState = EscState::kSilent;
    const auto mark = Mark();
    exchange.Apply();
    exchange.RestoreDefaults();
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[0].text, "No response from ESC!");
    EXPECT_EQ(screen.messages[0].caption, "ZORV");

    screen.messages.clear();
    uart.escState = EscState::kConnected;
    link.exchangeRunning = true;
    exchange.ReadSettings();
    exchange.Apply();
    exchange.RestoreDefaults();
    EXPECT_TRUE(WritesSince(mark).empty());
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_EQ(timer.log.size(), 1u);
}

TEST_F(SettingsExchangeTest, LoadedProfileOfAnotherVersionIsRefusedUntilReplaced)
{
    Read();
    profile.loaded = true;
    profile.versionText = "Ver: B0105";
    const auto mark = Mark();
    exchange.Apply();
    exchange.Apply();
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[0].text, "Current Version Ver: 102304 can not Load this Version Ver: B0105 profile!");
    EXPECT_EQ(screen.messages[0].caption, "");
    EXPECT_TRUE(WritesSince(mark).empty());
    EXPECT_TRUE(profile.loaded);
    profile.versionText = "Ver: 102304";
    exchange.Apply();
    EXPECT_EQ(screen.settingsProgressTitle, true);
    EXPECT_FALSE(profile.loaded);
}

TEST_F(SettingsExchangeTest, DefaultsRestoreReadBackAndSetTheCustomFields)
{
    esc.reply = Sample({{1, 7}});  // Drag Brake on "Custom"
    record.custom.EnableEdit(CustomField::InitialBrake, true);
    const auto mark = Mark();
    exchange.RestoreDefaults();
    const auto writes = WritesSince(mark);
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0], Bytes{0xDE});
    EXPECT_EQ(writes.back(), Bytes{0xD8});
    EXPECT_EQ(record.Caption(1096), "Custom");
    ExpectEnabled(screen, {{1048, true}, {1049, true}, {1047, false}, {1046, false}, {1050, false}});
    // The command cannot be written: nothing follows it.
    flaky.fails = [](const Bytes& data) { return data[0] == 0xDE; };
    screen.enabled.clear();
    const auto log = timer.log.size();
    exchange.RestoreDefaults();
    EXPECT_EQ(device.writes.size(), mark + writes.size());
    EXPECT_TRUE(screen.enabled.empty());
    EXPECT_EQ(timer.log.size(), log);
}

// Ctrl-C in kel-cli: the write stops before the next pair, never inside one,
// says how many pairs the ESC took, and still ends the write with 0xDF.
TEST_F(SettingsExchangeTest, StopRequestEndsTheWriteAtAPairBoundary)
{
    const struct {
        std::size_t raisedAtByte;  // of the pairs
        int pairsTaken;
    } cases[] = {{0, 0}, {14, 7}, {15, 8}, {41, 21}};
    for (const auto& c : cases) {
        Read();
        link.stoppedAt = {};
        test::StopAfterBytes stop(device, device.AllWritten().size() + c.raisedAtByte);
        link.stop = &stop;
        exchange.Apply();
        link.stop = nullptr;
        SCOPED_TRACE(c.raisedAtByte);
        EXPECT_EQ(PairBytes(), Bytes(kGoldenWrite.begin(), kGoldenWrite.begin() + 2 * c.pairsTaken));
        EXPECT_EQ(device.writes.back(), Bytes{protocol::kEndOfWrite});
        EXPECT_FALSE(screen.settingsProgressOpen);
        const bool whole = c.pairsTaken == kPairCount;
        EXPECT_EQ(link.stoppedAt.exchange, whole ? StopPoint::Exchange::None : StopPoint::Exchange::SettingsWrite);
        if (whole) {
            EXPECT_EQ(screen.settingsProgressTitle, true);
            continue;
        }
        EXPECT_EQ(link.stoppedAt.done, c.pairsTaken);
        EXPECT_EQ(link.stoppedAt.total, kPairCount);
        EXPECT_EQ(link.stoppedAt.deviceTouched, c.pairsTaken > 0);
        EXPECT_FALSE(screen.settingsProgressTitle.has_value());  // neither SUCCESSED nor FAILED
        EXPECT_TRUE(screen.messages.empty());
        screen.settingsProgressTitle.reset();
    }
    // Heard between the resends of a pair as well: pair 5 refused again and again.
    Read();
    esc.refusals[0xE4] = 5;
    test::StopAfterBytes stop(device, device.AllWritten().size() + 2 * 5 + 2 * 2);
    link.stop = &stop;
    exchange.Apply();
    EXPECT_EQ(esc.pairs.size(), 7u);  // pairs 0 to 4, and pair 5 twice
    EXPECT_EQ(link.stoppedAt.done, 5);
    EXPECT_TRUE(screen.settingsProgressDetail.empty());  // no "Set Failed"
}

}  // namespace
}  // namespace kel
