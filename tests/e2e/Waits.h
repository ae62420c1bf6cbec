#pragma once

// The program's own waits, in milliseconds, as the cells add them up along the
// path a run takes. A wait counts when it runs out (a time-out) or is a pause
// on purpose; a reply that comes at once costs nothing.
namespace kel::e2e::waits {

// Link.
inline constexpr int kOpen = 2 * 60;        // pauses around applying the line settings
inline constexpr int kEcho = 1000;          // echo of one command byte
inline constexpr int kBlockEcho = 200 + 100;
inline constexpr int kAckedEcho = 1000;
inline constexpr int kAck = 2000;

// Polling, kel-cli's three probe ticks after the one that opens the port.
inline constexpr int kProbeTicks = 3;
inline constexpr int kEscProbe = 10;        // answer to the second 0xD5
inline constexpr int kBoxProbe = 150;
inline constexpr int kFixProbe = 150;
inline constexpr int kVersion = 500;

// Settings.
inline constexpr int kWake = 100;           // each of the three 0xD5 before 0xD8
inline constexpr int kSettingsReply = 100;
inline constexpr int kReadPause = 150;      // busy wait after a read
inline constexpr int kPairs = 21;
inline constexpr int kPairPause = 10;
inline constexpr int kSecondAck = 200;
inline constexpr int kWriteSucceeded = 500;
inline constexpr int kWriteFailed = 1000;
inline constexpr int kEndOfWrite = 150;

// Firmware.
inline constexpr int kHandshakeReply = 1000;
inline constexpr int kRecordAck = 2000;
inline constexpr int kUpdatePause = 1000;   // the ESC update pauses twice on success, the box once
inline constexpr int kBoxQuietAnswer = 100; // the box answers an unclaimed 0xD6 after this much quiet

// Paths that recur.
inline constexpr int kEscFound = kOpen + kReadPause;               // probe, version, read
inline constexpr int kEscSilent = kOpen + kProbeTicks * kEscProbe;
inline constexpr int kBoxSilent = kOpen + kProbeTicks * kBoxProbe;
inline constexpr int kFixSilent = kOpen + kProbeTicks * kFixProbe;
inline constexpr int kBoxHandshake = 3 * kBoxQuietAnswer;          // three 0xD6 answered after quiet

// The margin on top of a path's waits is measured (see CalibrateMargin): what
// starting kel-cli and opening the port cost on this build and machine, twice,
// plus this much.
inline constexpr int kMarginSlack = 400;
inline constexpr int kMinOverhead = 200;

} // namespace kel::e2e::waits
