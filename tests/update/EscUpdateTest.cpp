#include "UpdateFixture.h"

#include <chrono>

#include "support/StopAfterBytes.h"
#include "update/UpdateTexts.h"
#include "update/ZrvFile.h"

namespace kel::test {
namespace {

using namespace std::string_literals;

constexpr const char* kTwoRecords = ":0300000002000AF1\r\n:00000001FF\r\n";

// An ESC waiting in its loader: 0xD7 to 0xD6, one byte to everything else.
Bytes EscLoader(const Bytes& w)
{
    if (w == Bytes{0xD6})
        return {0xD7};
    if (w.empty())
        return {};  // an empty record: the loader hears nothing
    return {0x5A};  // the value of an acknowledgement does not matter
}

class EscUpdateTest : public UpdateTest {
protected:
    void SetUp() override
    {
        UpdateTest::SetUp();
        uart.escState = EscState::kConnected;
        answer = EscLoader;
    }
    void ExpectPollingBackAndPortOpen()
    {
        EXPECT_EQ(timer.log, (std::vector<std::string>{"Stop", "Start 500"}));
        EXPECT_TRUE(uart.portOpen);
        EXPECT_EQ(device.closes, 0);
    }
};

TEST_F(EscUpdateTest, GoldenRun_HandshakeRecordsProgressAndSuccess)
{
    ChooseFileWith("esc.zrv", kTwoRecords);
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Updated);

    EXPECT_EQ(device.writes, (std::vector<Bytes>{{0xD6},
                                                 {0xD6},
                                                 {0xD6},
                                                 {0xD6},
                                                 {0x39},
                                                 {0x31},
                                                 {0x3A, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0A, 0xF1},
                                                 {0x3A, 0x00, 0x00, 0x00, 0x01, 0xFF}}));
    // Reset by the button, then the share acknowledged before each record: 0 of 15, 9 of 15.
    EXPECT_EQ(screen.progressPositions, (std::vector<int>{0, 0, 60}));
    EXPECT_EQ(screen.progressText, text::kUpdatedSuccessfully);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_TRUE(link.redetect);
    ExpectPollingBackAndPortOpen();
    // One second before the success text and one after it.
    EXPECT_EQ(clock.NowMs() - timedWrites.back().at, 2000);

    const FileDialogRequest& request = screen.fileRequests.at(0);
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "");
    EXPECT_EQ(request.initialName, "*.zrv");
    EXPECT_EQ(request.filter, "Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||");
    EXPECT_EQ(request.defaultExt, "*.zrv");
    EXPECT_TRUE(request.mustExist);
}

TEST_F(EscUpdateTest, CancelledDialog_ReadFileErrorAndPollingResumes)
{
    EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::FileError);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, text::kReadFileError);
    EXPECT_EQ(screen.messages[0].caption, text::kBoxCaption);
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(device.writes.empty());
    ExpectPollingBackAndPortOpen();
}

TEST_F(EscUpdateTest, FileGoneBeforeSecondRead_ReadFileErrorWithApplicationCaption)
{
    const std::string path = ChooseFileWith("esc.zrv", kTwoRecords);
    answer = [path](const Bytes& w) {
        if (w == Bytes{0x31})
            std::filesystem::remove(path);
        return EscLoader(w);
    };
    EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::FileError);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, text::kReadFileError);
    EXPECT_EQ(screen.messages[0].caption, text::kAppCaption);
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(device.writes.size(), 6u);
    ExpectPollingBackAndPortOpen();
}

// Each failure of the run: what goes wrong, the message, how many writes went out.
struct EscFailure {
    const char* name;
    std::string file;
    int failWritesFrom;
    std::function<Bytes(const Bytes&)> device;
    std::string_view message;
    std::size_t writes;
};

void PrintTo(const EscFailure& c, std::ostream* os)
{
    *os << c.name;
}

class EscFailureTest : public EscUpdateTest, public ::testing::WithParamInterface<EscFailure> {};

TEST_P(EscFailureTest, ShowsItsTextWithoutIconAndLeavesPortOpen)
{
    const EscFailure& f = GetParam();
    ChooseFileWith("esc.zrv", f.file);
    device.failWritesFrom = f.failWritesFrom;
    if (f.device)
        answer = f.device;

    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::DeviceError);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, f.message);
    EXPECT_EQ(screen.messages[0].caption, text::kBoxCaption);
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(device.writes.size(), f.writes);
    EXPECT_FALSE(link.redetect);
    EXPECT_NE(screen.progressText, text::kUpdatedSuccessfully);
    ExpectPollingBackAndPortOpen();
}

Bytes NoAnswer(const Bytes&)
{
    return {};
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EscFailureTest,
    ::testing::Values(EscFailure{"FourthD6NotWritten", kTwoRecords, 3, nullptr, text::kTxD6Timeover, 3},
                      EscFailure{"NoReplyToD6", kTwoRecords, -1, NoAnswer, text::kTxD6Timeover, 4},
                      EscFailure{"D6AnsweredWrongly", kTwoRecords, -1,
                                 [](const Bytes& w) { return w == Bytes{0xD6} ? Bytes{0xD8} : EscLoader(w); },
                                 text::kTxD6Timeover, 4},
                      EscFailure{"X39NotWritten", kTwoRecords, 4, nullptr, text::kTx39Timeover, 4},
                      EscFailure{"X31NotWritten", kTwoRecords, 5, nullptr, text::kTx31Timeover, 5},
                      EscFailure{"RecordNotWritten", kTwoRecords, 6, nullptr, text::kDataTransferError, 6},
                      EscFailure{"RecordNotAcknowledged", kTwoRecords, -1,
                                 [](const Bytes& w) { return w.size() > 1 ? Bytes{} : EscLoader(w); },
                                 text::kDataTransferNoAck, 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EscUpdateTest, RepliesToX39AndX31AreNotLookedAt)
{
    ChooseFileWith("esc.zrv", kTwoRecords);
    answer = [](const Bytes& w) { return (w == Bytes{0x39} || w == Bytes{0x31}) ? Bytes{} : EscLoader(w); };
    EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::Updated);
    // Each unanswered reply costs its full second.
    EXPECT_EQ(timedWrites[5].at - timedWrites[4].at, 1000);
    EXPECT_EQ(timedWrites[6].at - timedWrites[5].at, 1000);
}

TEST_F(EscUpdateTest, FileChangedAfterTheCheck_NoRecordSent)
{
    const std::string path = ChooseFileWith("esc.zrv", kTwoRecords);
    answer = [this](const Bytes& w) {
        if (w == Bytes{0x31})
            WriteFile("esc.zrv", ":0300000002000af1\n:00000001FF\n");
        return EscLoader(w);
    };
    EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::DeviceError);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  path + " changed after it was checked; nothing of it was sent. Start the update again."}));
    EXPECT_EQ(device.writes.size(), 6u);  // the handshake only
    ExpectPollingBackAndPortOpen();
}

// Every file the ESC's loader would refuse, or that is no firmware file at
// all, is refused before a byte goes out, naming where it is wrong.
struct EscRefusal {
    const char* name;
    std::string file;
    const char* messagePart;
    FileShape shape = FileShape::Content;
    const char* fileName = "esc.zrv";
    std::string_view caption = text::kAppCaption;
};

void PrintTo(const EscRefusal& c, std::ostream* os)
{
    *os << c.name;
}

class EscRefusalTest : public EscUpdateTest, public ::testing::WithParamInterface<EscRefusal> {};

TEST_P(EscRefusalTest, NothingSentPollingBackPortAsItWas)
{
    const EscRefusal& r = GetParam();
    if (!kHasFifos && (r.shape == FileShape::Fifo || r.shape == FileShape::LinkToDevZero))
        GTEST_SKIP() << "no FIFOs or /dev/zero on this system";
    ChooseShape(r.fileName, r.shape, r.file);
    const int purgesBefore = device.purges;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::FileError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(device.writes.empty());
    EXPECT_EQ(device.purges, purgesBefore);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find(r.messagePart), std::string::npos) << screen.messages[0].text;
    EXPECT_EQ(screen.messages[0].caption, r.caption);
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(screen.progressPositions, std::vector<int>{0});  // the button's reset only
    ExpectPollingBackAndPortOpen();
}

std::string Repeated(const std::string& line, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += line;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, EscRefusalTest,
    ::testing::Values(
        // Read as 0, the lower-case digits give the loader a wrong checksum.
        EscRefusal{"LowerCaseHex", ":0300000002000af1\r\n:00000001FF\r\n", "line 1: error: 2 lower-case hex digits"},
        EscRefusal{"BoxFirmware", "0003AABBCC0001DD", "named like program box firmware", FileShape::Content, "box.xup"},
        EscRefusal{"BadChecksum", ":0300000002000AF2\n:00000001FF\n", "line 1: error: checksum 0xF2 is wrong"},
        EscRefusal{"WrongRecordType", ":0300000602000AEB\n:00000001FF\n", "line 1: error: unknown record type 0x06"},
        EscRefusal{"NulBytes", ":03000000020\0\0AF1\n:00000001FF\n"s,
                   "line 1: error: 2 characters are not hex digits (first 0x00"},
        EscRefusal{"EmptyLine", ":0300000002000AF1\n\n:00000001FF\n", "line 2: error: empty line"},
        EscRefusal{"TenMegabyteLine", ":" + std::string(10 * 1024 * 1024, '0') + "\n", "too large"},
        EscRefusal{"EmptyFile", "", "holds no records"}, EscRefusal{"Fifo", "", "FIFO", FileShape::Fifo},
        EscRefusal{"LinkToDevZero", "", "a device", FileShape::LinkToDevZero},
        EscRefusal{"Folder", "", "a folder", FileShape::Folder},
        EscRefusal{"OneByteOverTheBound", Repeated(":00000001FF\n", kZrvMaxFileBytes / 12 + 1), "too large"},
        EscRefusal{"Missing", "", "Read File Error!", FileShape::Missing, "esc.zrv", text::kBoxCaption}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EscUpdateTest, StaleLoaderByteInBufferDoesNotPassForTheReply)
{
    // A FixMode poll left 0xD7 in the buffer; this time neither echo nor reply comes.
    uart.rx[0] = 0xD7;
    device.echo = false;
    answer = NoAnswer;
    ChooseFileWith("esc.zrv", kTwoRecords);
    EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::DeviceError);
    EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(text::kTxD6Timeover)}));
}

// The routing of the update button.
TEST_F(EscUpdateTest, Button_WithoutUsbConnectionOnlySaysSo)
{
    uart.usbState = UsbState::kNotConnected;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::NotStarted);
    EXPECT_EQ(screen.log, (std::vector<std::string>{"MessageBox ZORV: USB Connection Error!"}));
    EXPECT_EQ(screen.messages.at(0).icon, MessageIcon::Error);
    EXPECT_TRUE(timer.log.empty());
}

TEST_F(EscUpdateTest, Button_WithoutDeviceResetsBarThenSaysSo)
{
    uart.escState = EscState::kSilent;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::NotStarted);
    EXPECT_EQ(screen.log, (std::vector<std::string>{"ProgressShowText ", "ProgressSetPos 0", "RepaintNow",
                                                    "MessageBox ZORV: Device Connection Error!"}));
    EXPECT_EQ(screen.messages.at(0).icon, MessageIcon::Error);
    EXPECT_TRUE(timer.log.empty());
}

TEST_F(EscUpdateTest, Button_BoxFlagWinsOverConnectedEsc)
{
    link.boxConnected = true;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::FileError);
    ASSERT_EQ(screen.fileRequests.size(), 1u);
    EXPECT_EQ(screen.fileRequests[0].initialName, "*.xup");
}

TEST_F(EscUpdateTest, Button_DoesNothingWhileAnExchangeRuns)
{
    link.exchangeRunning = true;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::NotStarted);
    EXPECT_TRUE(screen.log.empty());
    EXPECT_TRUE(timer.log.empty());
}

// Ctrl-C in kel-cli: the update stops before the handshake (nothing sent) or
// before the next record (the ESC waits in its loader), never inside one.
TEST_F(EscUpdateTest, StopRequestEndsTheUpdateBetweenRecords)
{
    const struct {
        std::size_t raisedAtByte;
        std::size_t writes;
        int recordsTaken;
        bool touched;
    } cases[] = {{0, 0, 0, false}, {4, 4, 0, true}, {5, 5, 0, true}, {6, 6, 0, true}, {7, 7, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raisedAtByte);
        device.writes.clear();
        timer.log.clear();
        ChooseFileWith("esc.zrv", kTwoRecords);
        StopAfterBytes stop(device, c.raisedAtByte);
        link.stop = &stop;
        EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::Interrupted);
        EXPECT_EQ(device.writes.size(), c.writes);
        EXPECT_EQ(link.stoppedAt.exchange, StopPoint::Exchange::EscUpdate);
        EXPECT_EQ(link.stoppedAt.done, c.recordsTaken);
        EXPECT_EQ(link.stoppedAt.total, 2);
        EXPECT_EQ(link.stoppedAt.deviceTouched, c.touched);
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_FALSE(link.redetect);
        ExpectPollingBackAndPortOpen();
    }
}

}  // namespace
}  // namespace kel::test
