#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/BoxLoader.h"
#include "sim/EscLoader.h"
#include "sim/EscSettings.h"
#include "sim/Faults.h"

namespace kel::sim {

using Version = std::array<std::uint8_t, 4>;

struct DeviceOptions {
    Version escVersion{1, 2, 3, 4};  // shown as "Ver: 102304"
    Version boxVersion{2, 1, 0, 7};  // shown as "Ver: 2010007"
    bool escStock = false;           // the ESC's factory mode is stock instead of MOD
    bool escInLoader = false;        // the ESC waits in its boot loader (a failed update)
    bool escAttached = true;         // an ESC is plugged into the box
    FaultSet faults;
};

enum class EscMode { Absent, Application, Loader };
enum class BoxMode { Normal, Handshake, LoaderArmed, Loader };

// A byte on its way to the PC and the time it arrives there.
struct OutputByte {
    std::uint8_t value = 0;
    std::int64_t atMs = 0;
    bool tentative = false;  // withdrawn if the PC sends anything before it is due
};

// The program box with an ESC behind it, as the PC sees them through the wire.
// Pure: bytes written by the PC go in with the time they were written; bytes
// for the PC come out with the time they arrive. Every byte is echoed before
// any reply. Nothing here sleeps or does I/O.
class DeviceModel {
public:
    // Command and reply bytes, spelled here apart from link/Protocol.h on purpose:
    // the model is the device's own account, so a wrong byte there fails the tests.
    static constexpr std::uint8_t kEscProbe = 0xD5;
    static constexpr std::uint8_t kEscAnswer = 0x26;  // "&"
    static constexpr std::uint8_t kBoxProbe = 0xD4;
    static constexpr std::uint8_t kBoxAnswer = 0xD1;
    static constexpr std::uint8_t kLoaderProbe = 0xD6;
    static constexpr std::uint8_t kLoaderReady = 0xD7;
    static constexpr std::uint8_t kNotInLoader = 0x00;  // the box's answer to a 0xD6 nobody else takes
    static constexpr std::uint8_t kVersionQuery = 0xD7;
    static constexpr std::uint8_t kBoxHandshakeReply = 0xD8;
    static constexpr std::uint8_t kSettingsRequest = 0xD8;
    static constexpr std::uint8_t kRestoreDefaults = 0xDE;
    static constexpr std::uint8_t kEndOfWrite = 0xDF;
    static constexpr std::uint8_t kAck = 0x01;
    static constexpr std::uint8_t kRefused = 0x00;
    static constexpr std::uint8_t kRecordBadChecksum = 0x02;
    static constexpr std::uint8_t kEscLoaderStep1 = 0x39;
    static constexpr std::uint8_t kEscLoaderStep2 = 0x31;
    static constexpr std::uint8_t kBlockAccepted = 0x11;
    static constexpr std::uint8_t kBlockCheckFailed = 0x12;
    static constexpr std::uint8_t kBlockResend = 0x13;
    static constexpr std::size_t kVersionReplySize = 7;
    static constexpr std::size_t kLowVoltCustomByte = 4;
    static constexpr int kEscLoaderD6Count = 4;
    static constexpr int kBoxHandshakeD6Count = 3;
    // Box blocks are shorter than 0x0500 bytes: a first length byte of 0x05 or
    // more between blocks is a command, and the box leaves its loader for it.
    static constexpr std::uint8_t kFirstNonBlockLengthByte = 0x05;

    // The box answers a 0xD6 that no ESC takes only when the PC stays quiet
    // this long after it: the four back-to-back 0xD6 of an ESC update then go
    // unanswered until the fourth, while a poll or the box handshake, which wait
    // for an answer, get one (and an answered 0xD6 restarts the ESC's count).
    static constexpr int kD6QuietMs = 100;
    // A byte that comes this long after the previous one starts afresh: a half
    // received pair, record or block is dropped and the box leaves its loader.
    static constexpr int kIdleResetMs = 2000;

    explicit DeviceModel(DeviceOptions options = {});

    // Bytes written by the PC at nowMs. False when the device is not there
    // (unplugged): the bytes from that point on are lost.
    bool Receive(const std::uint8_t* data, std::size_t count, std::int64_t nowMs);
    bool Receive(std::uint8_t byte, std::int64_t nowMs) { return Receive(&byte, 1, nowMs); }

    // Bytes for the PC, in order of arrival.
    const std::deque<OutputByte>& Output() const { return output_; }
    std::vector<std::uint8_t> Take(std::size_t count);
    // Drops what has arrived by nowMs (a purge on the PC side).
    void DropArrived(std::int64_t nowMs);
    std::optional<std::int64_t> NextArrivalMs() const;

    // Whether the device is attached at nowMs (a replug powers it up afresh).
    bool IsPresent(std::int64_t nowMs);
    // How often the device was unplugged so far: a handle opened before an unplug is dead.
    int Unplugs() const { return unplugs_; }
    // When a replug is due, while unplugged.
    std::optional<std::int64_t> ReplugAtMs() const;

    // Inspection and set-up.
    FaultSet& Faults() { return options_.faults; }
    const DeviceOptions& Options() const { return options_; }
    EscMode Esc() const { return esc_; }
    BoxMode Box() const { return box_; }
    EscSettings& Settings() { return settings_; }
    const EscSettings& Settings() const { return settings_; }
    const EscLoader& EscFirmware() const { return escLoader_; }
    const BoxLoader& BoxFirmware() const { return boxLoader_; }
    const std::vector<std::uint8_t>& ReceivedBytes() const { return received_; }
    std::size_t PairsReceived() const { return pairs_; }
    int EscUpdatesCompleted() const { return escUpdates_; }
    int BoxUpdatesCompleted() const { return boxUpdates_; }

private:
    enum class Probe { None, Esc, Box };

    void OnByte(std::uint8_t byte, std::int64_t t);
    void Settle(std::int64_t t);
    void OnCommand(std::uint8_t byte, int boxD6Run, std::int64_t t);
    void OnLoaderProbe(std::int64_t t);
    void OnEscCommand(std::uint8_t byte, std::int64_t t);
    void OnEscLoaderCommand(std::uint8_t byte, std::int64_t t);
    void OnBoxHandshake(std::uint8_t byte, std::int64_t t);
    void OnBoxLoaderByte(std::uint8_t byte, std::int64_t t);
    bool LeavesBoxLoader(std::uint8_t byte) const;
    bool IsLoaderReadyRepeat(std::uint8_t byte) const;
    void OnPair(std::uint8_t tag, std::uint8_t value, std::int64_t t);
    void OnRecord(const HexRecord& record, std::int64_t t);
    void SendSettings(std::int64_t t);
    void SendVersion(std::int64_t t);
    void Reply(std::vector<std::uint8_t> bytes, std::int64_t t, bool tentative = false);
    void Queue(OutputByte byte);
    void Unplug(std::int64_t t);
    void PowerUp();

    DeviceOptions options_;
    EscSettings settings_;
    EscLoader escLoader_;
    BoxLoader boxLoader_;
    EscMode esc_ = EscMode::Application;
    BoxMode box_ = BoxMode::Normal;
    std::deque<OutputByte> output_;
    std::vector<std::uint8_t> received_;

    Probe lastProbe_ = Probe::None;
    std::optional<std::uint8_t> pairTag_;  // a tag waiting for its value
    int escD6Run_ = 0;                     // 0xD6 in a row, unanswered in between
    int boxD6Run_ = 0;                     // 0xD6 in a row
    int handshakeD7s_ = 0;                 // 0xD7 sent in the box handshake so far
    int blockRefusals_ = 0;                // 0x13 answers to the current block
    bool boxLoaderGotBlock_ = false;
    std::optional<std::int64_t> quietD6Due_;  // arrival of a tentative 0xD6 answer
    std::optional<std::int64_t> lastByteAt_;
    std::optional<std::int64_t> unpluggedAt_;
    std::size_t pairs_ = 0;
    int escUpdates_ = 0;
    int unplugs_ = 0;
    int boxUpdates_ = 0;
};

}  // namespace kel::sim
