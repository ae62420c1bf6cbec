#include "UpdateFixture.h"

#include <cstdio>
#include <deque>
#include <tuple>

#include "support/StopAfterBytes.h"
#include "update/UpdateTexts.h"

namespace kel::test {
namespace {

// Two blocks: 5 bytes (body AA BB CC) and 3 bytes (body DD). The final CR LF
// is a lone last character and dropped.
constexpr const char* kTwoBlocks = "0003AABBCC0001DD\r\n";
const Bytes kBlock1{0x00, 0x03, 0xAA, 0xBB, 0xCC}, kBlock2{0x00, 0x01, 0xDD};
constexpr int kNever = 0, kNoStatus = -1;

// The program box's loader: whether it answers the three wake-ups, which 0xD7
// gets 0xD8 and which 0xD6 after them gets 0xD7 (1-based, kNever for none),
// then a status per block.
struct BoxLoader {
    bool wakeAnswered = true;
    int enterAnswerOn = 1;
    int readyAnswerOn = 1;
    std::deque<int> statuses{};  // 0x11 when none are left; kNoStatus: silence
    Bytes otherAnswer{};         // to a 0xD7 it does not answer with 0xD8

    int d6 = 0, d7 = 0;
    Bytes operator()(const Bytes& w)
    {
        if (w == Bytes{0xD6})
            return (++d6 <= 3 ? wakeAnswered : d6 - 3 == readyAnswerOn) ? Bytes{0xD7} : Bytes{};
        if (w == Bytes{0xD7})
            return ++d7 == enterAnswerOn ? Bytes{0xD8} : otherAnswer;
        int status = 0x11;
        if (!statuses.empty()) {
            status = statuses.front();
            statuses.pop_front();
        }
        return status == kNoStatus ? Bytes{} : Bytes{static_cast<std::uint8_t>(status)};
    }
};

class BoxUpdateTest : public UpdateTest {
protected:
    std::shared_ptr<BoxLoader> loader = std::make_shared<BoxLoader>();

    void SetUp() override
    {
        UpdateTest::SetUp();
        link.boxConnected = true;
        answer = [l = loader](const Bytes& w) { return (*l)(w); };
    }
    std::size_t WritesOf(const Bytes& bytes) const
    {
        return static_cast<std::size_t>(std::count(device.writes.begin(), device.writes.end(), bytes));
    }
    // After a failure the port is closed, so the box is found afresh.
    void ExpectErrorExit(std::string_view text)
    {
        ExpectOneMessage(text, text::kAppCaption, MessageIcon::None);
        EXPECT_FALSE(uart.portOpen);
        EXPECT_EQ(uart.usbState, UsbState::kNotConnected);
        EXPECT_EQ(device.closes, 1);
        EXPECT_EQ(timer.log, (std::vector<std::string>{"Stop", "Start 500"}));
        EXPECT_FALSE(link.exchangeRunning);
        EXPECT_FALSE(link.redetect);
    }
};

TEST_F(BoxUpdateTest, GoldenRun_HandshakeBlocksProgressAndSuccess)
{
    uart.escState = EscState::kConnected;
    Choose("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Updated);

    EXPECT_EQ(device.writes, (std::vector<Bytes>{{0xD6}, {0xD6}, {0xD6}, {0xD7}, {0xD6}, kBlock1, kBlock2}));
    EXPECT_EQ(screen.progressPositions, (std::vector<int>{0, 0, 62}));  // 5 of 8 bytes taken
    EXPECT_EQ(screen.pumps, 2);
    EXPECT_EQ(screen.progressText, text::kUpdatedSuccessfully);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_EQ(uart.escState, EscState::kSilent);
    EXPECT_TRUE(link.redetect);
    EXPECT_TRUE(uart.portOpen);
    EXPECT_FALSE(link.exchangeRunning);
    EXPECT_EQ(timer.log, (std::vector<std::string>{"Stop", "Start 500"}));
    EXPECT_EQ(clock.NowMs() - timedWrites.back().at, 1000);

    // The percentage is on from the first block (after the button's reset to 0).
    const auto on = std::find(screen.log.begin(), screen.log.end(), "ProgressSetPercentage 1");
    const auto firstBlock = std::find(screen.log.rbegin(), screen.log.rend(), "ProgressSetPos 0").base();
    EXPECT_LT(on, firstBlock);
    const std::vector<std::string> tail(screen.log.end() - 5, screen.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"ProgressSetPos 62", "RepaintNow", "PumpMessages",
                                              "ProgressShowText Updated successfully!", "RepaintNow"}));
    const FileDialogRequest& r = screen.fileRequests.at(0);
    EXPECT_EQ(std::tie(r.save, r.title, r.initialName, r.filter, r.defaultExt, r.mustExist),
              std::make_tuple(false, "", "*.xup", "config Files (*.xup)|*.xup| all file  (*.*)|*.*||", "*.xup", true));
}

// One block of this many bytes, length field included.
std::string BlockOf(std::size_t size)
{
    char length[8];
    std::snprintf(length, sizeof length, "%04zX", size - 2);
    return length + std::string((size - 2) * 2, '5');
}

// What the file check finds is tested with it; these are what the box update adds.
TEST_F(BoxUpdateTest, FilesTheBoxCannotTakeWholeAreRefused_TheLongestBlockGoes)
{
    // The first one's echo cannot be back within the link's 300 ms at 19200 baud.
    const Refusal cases[] = {{"long-block.xup", BlockOf(576) + "0000", "576 bytes long"},
                             {"too-large.xup", std::string(2 * 65536 + 3, '0'), "too large"}};
    for (const Refusal& r : cases) {
        SCOPED_TRACE(r.fileName);
        screen.messages.clear();
        Choose(r.fileName, r.file, r.shape);
        ExpectRefused(r, updater.UpdateBox());
    }
    EXPECT_TRUE(timer.log.empty());  // polling never stopped

    Choose("longest.xup", BlockOf(575) + "0000");
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(device.writes.at(5).size(), 575u);
}

// Silent wake-ups, an enter answered on its third retry, and blocks resent
// three times: the retry count starts again per block.
TEST_F(BoxUpdateTest, SilentWakeUpsLateEnterAnswerAndThreeResendsPerBlockStillUpdate)
{
    loader->wakeAnswered = false;
    loader->enterAnswerOn = 4;
    loader->statuses = {0x13, 0x13, 0x13, 0x11, 0x13, 0x13, 0x13, 0x11};
    Choose("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(WritesOf({0xD7}), 4u);
    const auto wakeGaps = GapsBetween(0xD6);  // a second for each wake-up's answer
    EXPECT_EQ(std::vector<std::int64_t>(wakeGaps.begin(), wakeGaps.begin() + 2),
              (std::vector<std::int64_t>{1000, 1000}));
    EXPECT_EQ(WritesOf(kBlock1), 4u);
    EXPECT_EQ(WritesOf(kBlock2), 4u);
    EXPECT_TRUE(screen.messages.empty());
    // The bar is set before every sending: 0 % for the first block, 62 % for the second.
    EXPECT_EQ(screen.progressPositions, (std::vector<int>{0, 0, 0, 0, 62, 62, 62, 62}));
}

struct BoxFailure {
    const char* name;
    int failWritesFrom;
    std::deque<int> statuses;
    std::string_view message;
    std::size_t writes;
    std::int64_t waited = 0;  // from the last write to the message, when not 0
    BoxLoader loader = {};
    std::vector<std::int64_t> lastGaps = {};  // between the last writes of the retried command
    friend void PrintTo(const BoxFailure& c, std::ostream* os) { *os << c.name; }  // in ctest names, not its bytes
};

const std::vector<std::int64_t> kEnterGaps{1000, 1500, 2000, 500, 2000, 500};

class BoxFailureTest : public BoxUpdateTest, public ::testing::WithParamInterface<BoxFailure> {};

TEST_P(BoxFailureTest, ClosesPortAndShowsItsTextWithoutIcon)
{
    const BoxFailure& f = GetParam();
    device.failWritesFrom = f.failWritesFrom;
    *loader = f.loader;
    loader->statuses = f.statuses;
    Choose("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::DeviceError);
    EXPECT_EQ(device.writes.size(), f.writes);
    ExpectErrorExit(f.message);
    if (f.waited) {
        EXPECT_EQ(clock.NowMs() - timedWrites.back().at, f.waited);
    }
    if (!f.lastGaps.empty()) {
        const auto gaps = GapsBetween(timedWrites.back().bytes.at(0));
        ASSERT_GE(gaps.size(), 6u);
        EXPECT_EQ(std::vector<std::int64_t>(gaps.end() - 6, gaps.end()), f.lastGaps);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Steps, BoxFailureTest,
    ::testing::Values(
        BoxFailure{"FirstWakeNotWritten", 0, {}, text::kTxD6Timeover, 0},
        BoxFailure{"EnterNotWritten", 3, {}, text::kTxD7Timeover, 3},
        BoxFailure{"ReadyProbeNotWritten", 4, {}, text::kTxD6Timeover, 4},
        BoxFailure{"BlockNotWritten", 5, {}, text::kDataTransferError, 5},
        BoxFailure{"NoStatus", -1, {kNoStatus}, text::kDataTransferNoAck, 6, 2000},
        BoxFailure{"CheckFailed", -1, {0x11, 0x12}, text::kDataTransferCrc, 7},
        BoxFailure{"FourResendRequests", -1, {0x13, 0x13, 0x13, 0x13}, text::kRepeatOverFour, 5 + 4},
        // Enter (0xD7) retried six times, answered not at all or not with 0xD8.
        BoxFailure{"EnterNeverAnswered", -1, {}, text::kNoD8AfterD7, 3 + 7, 500, {.enterAnswerOn = kNever}, kEnterGaps},
        BoxFailure{"EnterAnsweredWrongly", -1, {}, text::kNoD8AfterD7, 3 + 7, 0,
                   {.enterAnswerOn = kNever, .otherAnswer = {0x00}}},
        // The ready probe (0xD6 after the wake-ups) retried six times.
        BoxFailure{"ReadyNeverAnswered", -1, {}, text::kNoD7AfterD6, 3 + 1 + 7, 500, {.readyAnswerOn = kNever},
                   {1500, 1500, 2000, 500, 2000, 500}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The window's messages are dispatched between blocks: a click there starts nothing.
TEST_F(BoxUpdateTest, ClicksDuringTheUpdateCannotStartAnotherUpdate)
{
    Choose("box.xup", kTwoBlocks);
    std::vector<UpdateOutcome> nested;
    answer = [&](const Bytes& w) {
        if (w.size() > 1) {  // a block
            const std::size_t writes = device.writes.size();
            nested.push_back(updater.OnUpdateButton());
            nested.push_back(updater.UpdateEsc());
            EXPECT_EQ(device.writes.size(), writes);
        }
        return (*loader)(w);
    };
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(nested, std::vector<UpdateOutcome>(4, UpdateOutcome::NotStarted));
    EXPECT_EQ(screen.fileRequests.size(), 1u);
    EXPECT_FALSE(link.exchangeRunning);
}

// Ctrl-C in kel-cli: the box update stops in the handshake's retries or before
// the next block, and closes the port as after a failure, without a message.
TEST_F(BoxUpdateTest, StopRequestEndsTheHandshakeRetriesOrTheUpdateBetweenBlocks)
{
    const struct {
        int enterAnswerOn;
        std::size_t raisedAtByte, enters, firstBlocks;
        int blocksTaken;
    } cases[] = {{kNever, 5, 2, 0, 0},  // three 0xD6, 0xD7, and its first retry
                 {1, 6, 1, 1, 1}};      // the handshake's five bytes and the first block's first
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raisedAtByte);
        device.writes.clear(), timer.log.clear();
        *loader = BoxLoader{.enterAnswerOn = c.enterAnswerOn};
        Choose("box.xup", kTwoBlocks);
        StopAfterBytes stop(device, c.raisedAtByte);
        link.stop = &stop;
        EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Interrupted);
        EXPECT_EQ(WritesOf(Bytes{0xD7}), c.enters);
        EXPECT_EQ(WritesOf(kBlock1), c.firstBlocks);
        EXPECT_EQ(WritesOf(kBlock2), 0u);
        const StopPoint& at = link.stoppedAt;
        EXPECT_EQ(std::tie(at.exchange, at.done, at.total, at.deviceTouched),
                  std::make_tuple(StopPoint::Exchange::BoxUpdate, c.blocksTaken, 2, true));
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_FALSE(uart.portOpen);
        EXPECT_EQ(timer.log, (std::vector<std::string>{"Stop", "Start 500"}));
        EXPECT_FALSE(link.exchangeRunning);
        ASSERT_EQ(uart.OpenPort(), 0);  // found again for the next case
        uart.usbState = UsbState::kInUse;
    }
}

}  // namespace
}  // namespace kel::test
