#include "UpdateFixture.h"

#include <deque>

#include "support/StopAfterBytes.h"
#include "update/UpdateTexts.h"

namespace kel::test {
namespace {

// Two blocks: 5 bytes (body AA BB CC) and 3 bytes (body DD). The final CR LF
// is a lone last character and dropped.
constexpr const char* kTwoBlocks = "0003AABBCC0001DD\r\n";
const Bytes kBlock1{0x00, 0x03, 0xAA, 0xBB, 0xCC};
const Bytes kBlock2{0x00, 0x01, 0xDD};

constexpr int kNever = 0;
constexpr int kNoStatus = -1;

// The program box's loader: which 0xD7 gets 0xD8 and which 0xD6 after the
// three wake-ups gets 0xD7 (1-based, kNever for none), then a status per block.
struct BoxLoader {
    int enterAnswerOn = 1;
    int readyAnswerOn = 1;
    std::deque<int> statuses;  // 0x11 when none are left; kNoStatus: silence
    Bytes otherAnswer;         // to a 0xD7 it does not answer with 0xD8

    int d6 = 0, d7 = 0;
    Bytes operator()(const Bytes& w)
    {
        if (w == Bytes{0xD6}) {
            ++d6;
            if (d6 <= 3)
                return {0xD7};
            return d6 - 3 == readyAnswerOn ? Bytes{0xD7} : Bytes{};
        }
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
    void ExpectErrorExit(std::string_view text)
    {
        EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(text)}));
        ASSERT_FALSE(screen.messages.empty());
        EXPECT_EQ(screen.messages[0].caption, text::kAppCaption);
        EXPECT_EQ(screen.messages[0].icon, MessageIcon::None);
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
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Updated);

    EXPECT_EQ(device.writes, (std::vector<Bytes>{{0xD6}, {0xD6}, {0xD6}, {0xD7}, {0xD6}, kBlock1, kBlock2}));
    EXPECT_EQ(screen.progressPositions, (std::vector<int>{0, 0, 62}));  // 5 of 8 bytes taken
    EXPECT_EQ(screen.pumps, 2);
    EXPECT_EQ(screen.progressText, text::kUpdatedSuccessfully);
    EXPECT_FALSE(screen.progressPercentage);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_EQ(uart.escState, EscState::kSilent);
    EXPECT_TRUE(link.redetect);
    EXPECT_TRUE(uart.portOpen);
    EXPECT_FALSE(link.exchangeRunning);
    EXPECT_EQ(timer.log, (std::vector<std::string>{"Stop", "Start 500"}));
    EXPECT_EQ(clock.NowMs() - timedWrites.back().at, 1000);

    const std::vector<std::string> tail(screen.log.end() - 5, screen.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"ProgressSetPos 62", "RepaintNow", "PumpMessages",
                                              "ProgressShowText Updated successfully!", "RepaintNow"}));
    const FileDialogRequest& request = screen.fileRequests.at(0);
    EXPECT_EQ(request.initialName, "*.xup");
    EXPECT_EQ(request.filter, "config Files (*.xup)|*.xup| all file  (*.*)|*.*||");
    EXPECT_EQ(request.defaultExt, "*.xup");
    EXPECT_TRUE(request.mustExist);
}

TEST_F(BoxUpdateTest, PercentageShownFromTheFirstBlock)
{
    ChooseFileWith("box.xup", kTwoBlocks);
    updater.UpdateBox();
    const auto on = std::find(screen.log.begin(), screen.log.end(), "ProgressSetPercentage 1");
    const auto firstBlock = std::find(screen.log.begin(), screen.log.end(), "ProgressSetPos 0");
    EXPECT_LT(on, firstBlock);
}

TEST_F(BoxUpdateTest, UnreadableFile_PollingNeverStopped)
{
    screen.fileAnswers.push_back((dir / "missing.xup").string());
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::FileError);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, text::kReadFileError);
    EXPECT_EQ(screen.messages[0].caption, text::kAppCaption);
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(timer.log.empty());
    EXPECT_TRUE(device.writes.empty());
    EXPECT_FALSE(link.exchangeRunning);
}

struct Refusal {
    const char* name;
    std::string file;
    const char* messagePart;
    FileShape shape = FileShape::Content;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class BoxRefusalTest : public BoxUpdateTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BoxRefusalTest, RefusedBeforeAnyByteIsSent)
{
    if (!kHasFifos && (GetParam().shape == FileShape::Fifo || GetParam().shape == FileShape::LinkToDevZero))
        GTEST_SKIP() << "no FIFOs or /dev/zero on this system";
    ChooseShape("box.xup", GetParam().shape, GetParam().file);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::FileError);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find(GetParam().messagePart), std::string::npos) << screen.messages[0].text;
    EXPECT_EQ(screen.messages[0].caption, text::kAppCaption);
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(device.writes.empty());
    EXPECT_TRUE(uart.portOpen);
    EXPECT_TRUE(timer.log.empty());  // polling never stopped
    EXPECT_FALSE(link.exchangeRunning);
}

// The handshake's retries, up to 8 s when the box does not answer, hear it too.
TEST_F(BoxUpdateTest, StopRequestEndsTheHandshakeRetries)
{
    loader->enterAnswerOn = kNever;
    ChooseFileWith("box.xup", kTwoBlocks);
    StopAfterBytes stop(device, 5);  // three 0xD6, 0xD7, and its first retry
    link.stop = &stop;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Interrupted);
    EXPECT_EQ(WritesOf(Bytes{0xD7}), 2u);
    EXPECT_EQ(link.stoppedAt.done, 0);
    EXPECT_TRUE(link.stoppedAt.deviceTouched);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_FALSE(uart.portOpen);
}

std::string LargestImageFilePlusOneByte()
{
    std::string text = "FFFE" + std::string(65534 * 2, '5');
    return text + "00";
}

// One block of this many bytes, length field included.
std::string BlockOf(std::size_t size)
{
    char length[8];
    std::snprintf(length, sizeof length, "%04zX", size - 2);
    return length + std::string((size - 2) * 2, '5');
}

INSTANTIATE_TEST_SUITE_P(
    Files, BoxRefusalTest,
    ::testing::Values(
        Refusal{"TooLarge", LargestImageFilePlusOneByte(), "65537 bytes"},
        Refusal{"BlockRunsPastEnd", "0003AABBCC0005DD",
                "image offset 0x5: error: the block states 5 bytes but only 1 follow"},
        Refusal{"LineEndInsideTheData", "0001DD\n\n", "line 1, byte 0x6, image offset 0x3: error: a line end inside"},
        Refusal{"EmptyImage", "\n", "holds no data"},
        // The box ends the transfer at an empty block: the rest would never arrive.
        Refusal{"EmptyBlockBeforeTheLast", "00000001DD", "image offset 0x0: error: an empty block before the last"},
        // Its echo cannot be back within the link's 300 ms at 19200 baud.
        Refusal{"BlockTooLongForTheEchoWindow", BlockOf(576) + "0000", "576 bytes long"},
        Refusal{"LowerCaseDigits", "0001dd", "lower-case"}, Refusal{"Fifo", "", "FIFO", FileShape::Fifo},
        Refusal{"Folder", "", "a folder", FileShape::Folder},
        Refusal{"LinkToDevZero", "", "a device", FileShape::LinkToDevZero},
        Refusal{"FileTooLarge", std::string(2 * 65536 + 3, '0'), "too large"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoxUpdateTest, LongestBlockTheEchoWindowAllowsIsSent)
{
    ChooseFileWith("box.xup", BlockOf(575) + "0000");
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(device.writes.at(5).size(), 575u);
}

TEST_F(BoxUpdateTest, EnterRetries_TimeOutsInOrderThenError)
{
    loader->enterAnswerOn = kNever;
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::DeviceError);
    EXPECT_EQ(WritesOf({0xD7}), 7u);
    EXPECT_EQ(GapsBetween(0xD7), (std::vector<std::int64_t>{1000, 1500, 2000, 500, 2000, 500}));
    EXPECT_EQ(screen.messageTimes.at(0) - timedWrites.back().at, 500);
    ExpectErrorExit(text::kNoD8AfterD7);
}

TEST_F(BoxUpdateTest, EnterAnsweredWithAnotherByteIsNoAnswer)
{
    loader->enterAnswerOn = kNever;
    loader->otherAnswer = {0x00};
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::DeviceError);
    ExpectErrorExit(text::kNoD8AfterD7);
}

TEST_F(BoxUpdateTest, EnterAnsweredOnThirdRetry_RunGoesOn)
{
    loader->enterAnswerOn = 4;
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(WritesOf({0xD7}), 4u);
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(BoxUpdateTest, ReadyRetries_TimeOutsInOrderThenError)
{
    loader->readyAnswerOn = kNever;
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::DeviceError);
    EXPECT_EQ(WritesOf({0xD6}), 3u + 1u + 6u);
    const auto gaps = GapsBetween(0xD6);
    EXPECT_EQ(std::vector<std::int64_t>(gaps.end() - 6, gaps.end()),
              (std::vector<std::int64_t>{1500, 1500, 2000, 500, 2000, 500}));
    EXPECT_EQ(screen.messageTimes.at(0) - timedWrites.back().at, 500);
    ExpectErrorExit(text::kNoD7AfterD6);
}

TEST_F(BoxUpdateTest, ThreeResendsThenAccepted_RetryCountStartsAgainPerBlock)
{
    loader->statuses = {0x13, 0x13, 0x13, 0x11, 0x13, 0x13, 0x13, 0x11};
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(WritesOf(kBlock1), 4u);
    EXPECT_EQ(WritesOf(kBlock2), 4u);
    // The bar is set before every sending: 0 % for the first block, 62 % for the second.
    EXPECT_EQ(screen.progressPositions, (std::vector<int>{0, 0, 0, 0, 62, 62, 62, 62}));
}

struct BoxFailure {
    const char* name;
    int failWritesFrom;
    std::deque<int> statuses;
    std::string_view message;
    std::size_t writes;
};

void PrintTo(const BoxFailure& c, std::ostream* os)
{
    *os << c.name;
}

class BoxFailureTest : public BoxUpdateTest, public ::testing::WithParamInterface<BoxFailure> {};

TEST_P(BoxFailureTest, ClosesPortAndShowsItsTextWithoutIcon)
{
    const BoxFailure& f = GetParam();
    device.failWritesFrom = f.failWritesFrom;
    loader->statuses = f.statuses;
    ChooseFileWith("box.xup", kTwoBlocks);
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::DeviceError);
    EXPECT_EQ(device.writes.size(), f.writes);
    ExpectErrorExit(f.message);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, BoxFailureTest,
    ::testing::Values(BoxFailure{"FirstWakeNotWritten", 0, {}, text::kTxD6Timeover, 0},
                      BoxFailure{"ThirdWakeNotWritten", 2, {}, text::kTxD6Timeover, 2},
                      BoxFailure{"EnterNotWritten", 3, {}, text::kTxD7Timeover, 3},
                      BoxFailure{"ReadyProbeNotWritten", 4, {}, text::kTxD6Timeover, 4},
                      BoxFailure{"BlockNotWritten", 5, {}, text::kDataTransferError, 5},
                      BoxFailure{"NoStatus", -1, {kNoStatus}, text::kDataTransferNoAck, 6},
                      BoxFailure{"CheckFailed", -1, {0x11, 0x12}, text::kDataTransferCrc, 7},
                      BoxFailure{"FourResendRequests", -1, {0x13, 0x13, 0x13, 0x13}, text::kRepeatOverFour, 5 + 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoxUpdateTest, NoStatus_WaitsTwoSeconds)
{
    loader->statuses = {kNoStatus};
    ChooseFileWith("box.xup", kTwoBlocks);
    updater.UpdateBox();
    EXPECT_EQ(screen.messageTimes.at(0) - timedWrites.back().at, 2000);
}

TEST_F(BoxUpdateTest, WindowMessagesBetweenBlocksCannotStartAnotherUpdate)
{
    ChooseFileWith("box.xup", kTwoBlocks);
    std::vector<bool> runningDuringPump;
    std::vector<UpdateOutcome> nested;
    screen.onPump = [&] {
        runningDuringPump.push_back(link.exchangeRunning);
        const std::size_t writes = device.writes.size();
        nested.push_back(updater.OnUpdateButton());
        nested.push_back(updater.UpdateEsc());
        EXPECT_EQ(device.writes.size(), writes);
    };
    EXPECT_EQ(updater.UpdateBox(), UpdateOutcome::Updated);
    EXPECT_EQ(runningDuringPump, (std::vector<bool>{true, true}));
    EXPECT_EQ(nested, std::vector<UpdateOutcome>(4, UpdateOutcome::NotStarted));
    EXPECT_EQ(screen.fileRequests.size(), 1u);
    EXPECT_FALSE(link.exchangeRunning);
}

// Ctrl-C in kel-cli: the box update stops before the next block and closes
// the port, as after a failure, without a message.
TEST_F(BoxUpdateTest, StopRequestEndsTheUpdateBetweenBlocks)
{
    ChooseFileWith("box.xup", kTwoBlocks);
    StopAfterBytes stop(device, 6);  // the handshake's five bytes and the first block's first
    link.stop = &stop;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Interrupted);
    EXPECT_EQ(WritesOf(kBlock1), 1u);
    EXPECT_EQ(WritesOf(kBlock2), 0u);
    EXPECT_EQ(link.stoppedAt.exchange, StopPoint::Exchange::BoxUpdate);
    EXPECT_EQ(link.stoppedAt.done, 1);
    EXPECT_EQ(link.stoppedAt.total, 2);
    EXPECT_TRUE(link.stoppedAt.deviceTouched);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_FALSE(uart.portOpen);
    EXPECT_EQ(timer.log, (std::vector<std::string>{"Stop", "Start 500"}));
    EXPECT_FALSE(link.exchangeRunning);
}

}  // namespace
}  // namespace kel::test
