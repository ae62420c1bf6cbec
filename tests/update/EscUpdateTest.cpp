#include "UpdateFixture.h"

#include <tuple>

#include "support/StopAfterBytes.h"
#include "update/UpdateTexts.h"
#include "update/ZrvFile.h"

namespace kel::test {
namespace {

constexpr const char* kTwoRecords = ":0300000002000AF1\r\n:00000001FF\r\n";
const Bytes kRecord1{0x3A, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0A, 0xF1},
    kRecord2{0x3A, 0x00, 0x00, 0x00, 0x01, 0xFF};

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
    Choose("esc.zrv", kTwoRecords);
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::Updated);

    EXPECT_EQ(device.writes, (std::vector<Bytes>{{0xD6}, {0xD6}, {0xD6}, {0xD6}, {0x39}, {0x31}, kRecord1, kRecord2}));
    // Reset by the button, then the share acknowledged before each record: 0 of 15, 9 of 15.
    EXPECT_EQ(screen.progressPositions, (std::vector<int>{0, 0, 60}));
    // The bar is painted again before the success pauses.
    const std::vector<std::string> tail(screen.log.end() - 4, screen.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"ProgressSetPos 60", "RepaintNow", "RepaintNow",
                                              "ProgressShowText Updated successfully!"}));
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_TRUE(link.redetect);
    ExpectPollingBackAndPortOpen();
    // One second before the success text and one after it.
    EXPECT_EQ(clock.NowMs() - timedWrites.back().at, 2000);
    // Every byte was answered at once, so no write waited for a reply.
    std::vector<std::int64_t> at;
    for (const auto& w : timedWrites)
        at.push_back(w.at - timedWrites[0].at);
    EXPECT_EQ(at, (std::vector<std::int64_t>{0, 0, 0, 0, 0, 0, 0, 0}));

    // The rest of the request is the box update's.
    EXPECT_EQ(screen.fileRequests.at(0).initialName, "*.zrv");
    EXPECT_EQ(screen.fileRequests.at(0).filter, "Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||");
}

// The file is read again after the handshake: gone, or no longer what was checked.
TEST_F(EscUpdateTest, FileGoneOrChangedAfterTheHandshake_NoRecordSent)
{
    for (const bool gone : {true, false}) {
        SCOPED_TRACE(gone);
        const std::string path = Choose("esc.zrv", kTwoRecords);
        screen.messages.clear(), device.writes.clear(), timer.log.clear();
        answer = [&](const Bytes& w) {
            if (w == Bytes{0x31} && gone)
                std::filesystem::remove(path);
            else if (w == Bytes{0x31})
                folder.Write("esc.zrv", std::string(":0300000002000af1\n:00000001FF\n"));
            return EscLoader(w);
        };
        EXPECT_EQ(updater.UpdateEsc(), gone ? UpdateOutcome::FileError : UpdateOutcome::DeviceError);
        if (gone)
            ExpectOneMessage(text::kReadFileError, text::kAppCaption, MessageIcon::Error);
        else
            ExpectOneMessage(path + " changed after it was checked; nothing of it was sent. Start the update again.",
                             text::kBoxCaption, MessageIcon::None);
        EXPECT_EQ(device.writes.size(), 6u);  // the handshake only
        ExpectPollingBackAndPortOpen();
    }
}

// Each failure of the run: what goes wrong, the message, how many writes went out.
struct EscFailure {
    const char* name;
    int failWritesFrom;
    std::function<Bytes(const Bytes&)> device;
    std::string_view message;
    std::size_t writes;
    bool echo = true;
    friend void PrintTo(const EscFailure& c, std::ostream* os) { *os << c.name; }
};

class EscFailureTest : public EscUpdateTest, public ::testing::WithParamInterface<EscFailure> {};

TEST_P(EscFailureTest, ShowsItsTextWithoutIconAndLeavesPortOpen)
{
    const EscFailure& f = GetParam();
    Choose("esc.zrv", kTwoRecords);
    device.failWritesFrom = f.failWritesFrom;
    device.echo = f.echo;
    uart.rx[0] = 0xD7;  // a stale loader byte, as a FixMode poll leaves it: no reply
    if (f.device)
        answer = f.device;

    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::DeviceError);
    ExpectOneMessage(f.message, text::kBoxCaption, MessageIcon::None);
    EXPECT_EQ(device.writes.size(), f.writes);
    if (f.message == text::kDataTransferNoAck) {
        EXPECT_EQ(clock.NowMs() - timedWrites.back().at, 2000) << "a record's acknowledge is awaited 2 s";
        EXPECT_EQ(timedWrites.back().at - timedWrites.front().at, 2000) << "0x39 and 0x31 each awaited 1 s";
    }
    EXPECT_FALSE(link.redetect);
    EXPECT_NE(screen.progressText, text::kUpdatedSuccessfully);
    ExpectPollingBackAndPortOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EscFailureTest,
    ::testing::Values(EscFailure{"FourthD6NotWritten", 3, nullptr, text::kTxD6Timeover, 3},
                      EscFailure{"NoReplyNorEchoToD6", -1, [](const Bytes&) { return Bytes{}; }, text::kTxD6Timeover, 4,
                                 false},
                      EscFailure{"D6AnsweredWrongly", -1,
                                 [](const Bytes& w) { return w == Bytes{0xD6} ? Bytes{0xD8} : EscLoader(w); },
                                 text::kTxD6Timeover, 4},
                      EscFailure{"X39NotWritten", 4, nullptr, text::kTx39Timeover, 4},
                      EscFailure{"X31NotWritten", 5, nullptr, text::kTx31Timeover, 5},
                      EscFailure{"RecordNotWritten", 6, nullptr, text::kDataTransferError, 6},
                      // Only 0xD6 is answered: the replies to 0x39 and 0x31 are not looked at.
                      EscFailure{"RecordNotAcknowledged", -1,
                                 [](const Bytes& w) { return w == Bytes{0xD6} ? EscLoader(w) : Bytes{}; },
                                 text::kDataTransferNoAck, 7}),
    [](const auto& info) { return std::string(info.param.name); });

// What the file check finds is tested with it; these are what the ESC update adds.
TEST_F(EscUpdateTest, RefusedFilesSendNothingAndPollingComesBack)
{
    const Refusal cases[] = {
        {"box.xup", "0003AABBCC0001DD", "named like program box firmware"},
        {"fifo.zrv", "", "FIFO", FileShape::Fifo},
        {"one-byte-over.zrv", ":00000001FF\n" + std::string(kZrvMaxFileBytes + 1 - 12, '\n'), "too large"},
        {"missing.zrv", "", "Read File Error!", FileShape::Missing, text::kBoxCaption},
        {"cancelled.zrv", "", "Read File Error!", FileShape::Cancelled, text::kBoxCaption}};
    for (const Refusal& r : cases) {
        if (r.shape == FileShape::Fifo && !kHasFifos)
            continue;
        SCOPED_TRACE(r.fileName);
        screen.messages.clear(), screen.progressPositions.clear(), timer.log.clear();
        Choose(r.fileName, r.file, r.shape);
        const int purgesBefore = device.purges;
        ExpectRefused(r, updater.OnUpdateButton());
        EXPECT_EQ(device.purges, purgesBefore);
        EXPECT_EQ(screen.progressPositions, std::vector<int>{0});  // the button's reset only
        ExpectPollingBackAndPortOpen();
    }
}

// The routing of the update button: a running exchange wins, then a missing
// USB or ESC connection is only told, then the box flag wins over the ESC.
TEST_F(EscUpdateTest, Button_RoutesByExchangeConnectionAndBoxFlag)
{
    link.exchangeRunning = true;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::NotStarted);
    EXPECT_TRUE(screen.log.empty());
    link.exchangeRunning = false;
    uart.usbState = UsbState::kNotConnected;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::NotStarted);
    uart.usbState = UsbState::kInUse;
    uart.escState = EscState::kSilent;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::NotStarted);
    EXPECT_EQ(screen.log, (std::vector<std::string>{"MessageBox ZORV: USB Connection Error!", "ProgressShowText ",
                                                    "ProgressSetPos 0", "RepaintNow",
                                                    "MessageBox ZORV: Device Connection Error!"}));
    EXPECT_EQ(screen.messages.at(0).icon, MessageIcon::Error);
    EXPECT_EQ(screen.messages.at(1).icon, MessageIcon::Error);
    EXPECT_TRUE(timer.log.empty());
    uart.escState = EscState::kConnected;
    link.boxConnected = true;
    EXPECT_EQ(updater.OnUpdateButton(), UpdateOutcome::FileError);
    EXPECT_EQ(screen.fileRequests.at(0).initialName, "*.xup");
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
        Choose("esc.zrv", kTwoRecords);
        StopAfterBytes stop(device, c.raisedAtByte);
        link.stop = &stop;
        EXPECT_EQ(updater.UpdateEsc(), UpdateOutcome::Interrupted);
        EXPECT_EQ(device.writes.size(), c.writes);
        const StopPoint& at = link.stoppedAt;
        EXPECT_EQ(std::tie(at.exchange, at.done, at.total, at.deviceTouched),
                  std::make_tuple(StopPoint::Exchange::EscUpdate, c.recordsTaken, 2, c.touched));
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_FALSE(link.redetect);
        ExpectPollingBackAndPortOpen();
    }
}

}  // namespace
}  // namespace kel::test
