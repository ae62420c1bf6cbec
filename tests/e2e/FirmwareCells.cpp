// flash-esc (found running, or in its loader with --fix) and flash-box under
// the faults of both updates. The sample files hold 1 KiB: 64 data records
// of 22 bytes and the end record; 9 blocks of up to 130 bytes and the end block.
#include "FaultCell.h"
#include "Waits.h"

namespace kel::e2e {

using namespace waits;

namespace {

const std::string kUpdated = "Updated successfully!";
const std::string kNoAck = "ZORV: Update Error: Data transfer no ack!";
const std::string kD6Timeover = "ZORV: Update Error: TX=0xd6, TX Timeover!";
const std::string kNoDevice = "ZORV: Device Connection Error!";
const std::string kReadFileError = "ZORV: Read File Error!";
const std::string kEscOn = "ESC Connection:         on";
const std::string kBoxOn = "ProgramBox Connection:  on";
const std::string kEscVersion = "Version:                Ver: 102304";

constexpr int kRecordBytes = 22;     // ":10AAAA00" + 16 data bytes + checksum, as bytes
constexpr int kBlockBytes = 130;     // length, 126 data bytes, check value
constexpr int kSmallRecords = 9;     // {zrv-small}: 128 bytes
constexpr int kBlocks = 10;
constexpr int kEscReadBytes = 7;     // 0xD5 0xD5 0xD7 0xD5 0xD5 0xD5 0xD8
constexpr int kEscHandshakeBytes = 6; // 0xD6 four times, 0x39, 0x31
constexpr int kBoxBytesBeforeBlocks = 7; // 0xD4 0xD7, then 0xD6 0xD6 0xD6 0xD7 0xD6

const Check kInLoader = FollowUp({"detect", "--as", "fix"}, 0, {kEscOn});
const Check kBoxFoundAgain = FollowUp({"detect", "--as", "box"}, 0, {kBoxOn});

std::string Nth(const char* fault, int n)
{
    return std::string(fault) + "=" + std::to_string(n);
}

std::vector<Cell> FlashEsc()
{
    const std::string row = "flash-esc";
    const std::vector<std::string> cli{"flash-esc", "{zrv}"};
    const int firstRecordByte = kEscReadBytes + kEscHandshakeBytes + 1;
    const int loaderReadyReply = kEscReadBytes + 4;  // replies: read 7, then the four 0xD6
    const Check onlyRead = PcSentOnly({0xD5, 0xD7, 0xD8});
    return {
        {row, "clean", {}, cli, 0, {kUpdated}, {}, kEscFound + 2 * kUpdatePause,
         {FollowUp({"detect"}, 0, {kEscOn, kEscVersion})}},
        // The first record's echo is one byte short; its acknowledgement
        // completes the echo, and none is left for the record.
        {row, "no-echo", {"--fault", Nth("no-echo", firstRecordByte)}, cli, 1, {kNoAck}, {},
         kEscFound + kRecordAck, {kInLoader}},
        // The loader is ready, but its 0xD7 is lost.
        {row, "no-reply", {"--fault", Nth("no-reply", loaderReadyReply)}, cli, 1, {kD6Timeover}, {},
         kEscFound + kHandshakeReply, {kInLoader}},
        {row, "late-reply", {"--fault", "late-reply=1000"}, cli, 1, {kNoDevice}, {}, kEscSilent,
         {PcSentOnly({0xD5})}},
        // Gone after three records.
        {row, "unplug", {"--fault", Nth("unplug", firstRecordByte - 1 + 3 * kRecordBytes)}, cli, 1,
         {kNoAck, kPortFailure}, {}, kEscFound + kBlockEcho + kRecordAck, {}},
        // The ESC stays in its application: nothing after the 0xD6 goes out.
        {row, "wrong-d6-reply", {"--fault", "wrong-d6-reply"}, cli, 1, {kD6Timeover}, {}, kEscFound,
         {PcSent(0x39, false), FollowUp({"detect"}, 0, {kEscOn})}},
        // A lost record leaves the ESC in its loader; FixMode brings it back.
        {row, "no-ack", {"--fault", "no-ack=3"}, cli, 1, {kNoAck}, {}, kEscFound + kRecordAck,
         {FollowUp({"flash-esc", "--fix", "{zrv}"}, 0, {}), FollowUp({"detect"}, 0, {kEscOn})}},
        {row, "refused-file", {}, {"flash-esc", "{missing}"}, 3, {kReadFileError}, {}, kEscFound,
         {onlyRead, NoUpdateProgress()}},
        // A file the loader would refuse is not sent at all.
        {row, "refused-file", {}, {"flash-esc", "{zrv-lower}"}, 3,
         {"Kel: {zrv-lower} would not flash as written (line 1: error: 16 lower-case hex digits (first 'd' at "
          "column 11) would be sent as 0: write A-F in upper case (and 64 more errors)). Nothing was sent."},
         {}, kEscFound, {onlyRead, NoUpdateProgress(), EscLoaderUntouched()}},
        // Nothing waits for a writer that never comes.
        {row, "refused-file", {}, {"flash-esc", "{fifo}"}, 3,
         {"Kel: {fifo} is a FIFO (named pipe), not a regular file. Nothing was sent."}, {}, kEscFound,
         {onlyRead, NoUpdateProgress(), EscLoaderUntouched()}},
    };
}

std::vector<Cell> FlashEscFix()
{
    const std::string row = "flash-esc --fix";
    const std::vector<std::string> cli{"flash-esc", "--fix", "{zrv}"};
    auto loader = [](std::vector<std::string> more) {
        more.insert(more.begin(), "--esc-in-loader");
        return more;
    };
    const int firstRecordByte = 1 + kEscHandshakeBytes + 1;
    const Check onlyProbes = PcSentOnly({0xD6}, kProbeTicks);
    return {
        {row, "clean", loader({}), cli, 0, {kUpdated}, {}, kOpen + 2 * kUpdatePause,
         {FollowUp({"detect"}, 0, {kEscOn, kEscVersion})}},
        // Every reply is taken for an echo: the probe still finds the loader
        // (0xD7 heads the receive buffer), but the update wants a reply of its own.
        {row, "no-echo", loader({"--fault", "no-echo"}), cli, 1, {kD6Timeover}, {},
         kOpen + kFixProbe + kHandshakeReply, {PcSent(0x39, false), kInLoader}},
        {row, "no-reply", loader({"--fault", "no-reply"}), cli, 1, {kNoDevice}, {}, kFixSilent, {onlyProbes}},
        // Within every limit, only slower: each reply, and each record's, 100 ms late.
        {row, "late-reply", loader({"--fault", "late-reply=100"}), {"flash-esc", "--fix", "{zrv-small}"}, 0,
         {kUpdated}, {}, kOpen + (4 + kSmallRecords) * 100 + 2 * kUpdatePause, {}},
        {row, "unplug", loader({"--fault", Nth("unplug", firstRecordByte - 1 + 3 * kRecordBytes)}), cli, 1,
         {kNoAck, kPortFailure}, {}, kOpen + kBlockEcho + kRecordAck, {}},
        {row, "wrong-d6-reply", loader({"--fault", "wrong-d6-reply"}), cli, 1, {kNoDevice}, {}, kOpen,
         {onlyProbes}},
        {row, "no-ack", loader({"--fault", "no-ack=3"}), cli, 1, {kNoAck}, {}, kOpen + kRecordAck, {kInLoader}},
        {row, "refused-file", loader({}), {"flash-esc", "--fix", "{missing}"}, 3, {kReadFileError}, {}, kOpen,
         {PcSentOnly({0xD6}, 1), NoUpdateProgress()}},
    };
}

std::vector<Cell> FlashBox()
{
    const std::string row = "flash-box";
    const std::vector<std::string> cli{"flash-box", "{xup}"};
    const int firstBlockByte = kBoxBytesBeforeBlocks + 1;
    const int handshakeD8Reply = 6;  // replies: 0xD4, 0xD7, three 0xD6, then 0xD8
    const int handshake = kOpen + kBoxHandshake;
    const std::string failed = "Kel: Update Error: ";
    return {
        {row, "clean", {}, cli, 0, {kUpdated}, {}, handshake + kUpdatePause, {kBoxFoundAgain}},
        {row, "no-echo", {"--fault", Nth("no-echo", firstBlockByte)}, cli, 1, {failed + "Data transfer no ack!"},
         {}, handshake + kRecordAck, {kBoxFoundAgain}},
        // The lost 0xD8 is asked for again.
        {row, "no-reply", {"--fault", Nth("no-reply", handshakeD8Reply)}, cli, 0, {kUpdated}, {},
         handshake + kHandshakeReply + kUpdatePause, {}},
        // Within every limit, only slower.
        {row, "late-reply", {"--fault", "late-reply=100"}, cli, 0, {kUpdated}, {},
         kOpen + (2 + 3 * 2 + 2 + kBlocks) * 100 + kUpdatePause, {}},
        {row, "unplug", {"--fault", Nth("unplug", firstBlockByte - 1 + 2 * kBlockBytes)}, cli, 1,
         {failed + "Data transfer no ack!", kPortFailure}, {}, handshake + kBlockEcho + kRecordAck, {}},
        {row, "d8-on-retry", {"--fault", "d8-on-retry=3"}, cli, 0, {kUpdated}, {}, handshake + kUpdatePause, {}},
        {row, "d8-on-retry", {"--fault", "d8-on-retry=7"}, cli, 1, {failed + "TX=0xd7, RX!=0xd8!"}, {}, handshake,
         {kBoxFoundAgain}},
        {row, "resend", {"--fault", "resend=3"}, cli, 0, {kUpdated}, {}, handshake + kUpdatePause, {}},
        {row, "resend", {"--fault", "resend=4"}, cli, 1, {failed + "repeat Data transfer over four time!"}, {},
         handshake, {kBoxFoundAgain}},
        {row, "bad-block-check", {"--fault", "bad-block-check=2"}, cli, 1, {failed + "Data transfer crc error!"},
         {}, handshake, {kBoxFoundAgain}},
        {row, "refused-file", {}, {"flash-box", "{xup-damaged}"}, 3,
         {"Kel: {xup-damaged} would not flash as written (image offset 0x0: error: the block states 16 bytes "
          "but only 2 follow: it runs past the end). Nothing was sent."},
         {}, kOpen, {PcSentOnly({0xD4, 0xD7}), NoUpdateProgress()}},
    };
}

} // namespace

std::vector<Cell> FirmwareCells()
{
    std::vector<Cell> all;
    for (auto* group : {FlashEsc, FlashEscFix, FlashBox}) {
        auto cells = group();
        all.insert(all.end(), cells.begin(), cells.end());
    }
    return all;
}

} // namespace kel::e2e
