#pragma once
#include <cstdint>

// The bytes the program box and the ESC understand: every command this
// program sends and every answer it waits for, under one name each. A byte
// that means two things in two exchanges has a name for each meaning.
// (The simulator in sim/ spells these bytes on its own on purpose, so that a
// wrong byte here fails the tests instead of agreeing with itself.)
namespace kel::protocol {

// Polling.
inline constexpr std::uint8_t kProbeBox = 0xD4;      // the box answers kBoxAnswer | n, then version bytes
inline constexpr std::uint8_t kProbeEsc = 0xD5;      // an ESC answers kEscAnswer; also wakes it for a read
inline constexpr std::uint8_t kProbeLoader = 0xD6;   // a waiting boot loader answers kLoaderReady
inline constexpr std::uint8_t kQueryVersion = 0xD7;  // 7 bytes, the version first
inline constexpr std::uint8_t kEscAnswer = 0x26;     // "&"
inline constexpr std::uint8_t kBoxAnswer = 0xD0;     // the high nibble of the box's answer
inline constexpr std::uint8_t kBoxAnswerMask = 0xF0;
inline constexpr std::uint8_t kLoaderReady = 0xD7;

// Settings.
inline constexpr std::uint8_t kRequestSettings = 0xD8;  // the 24-byte settings reply
inline constexpr std::uint8_t kFactorySettings = 0xDE;
inline constexpr std::uint8_t kEndOfWrite = 0xDF;
inline constexpr std::uint8_t kReplyEndMark = 0xDD;  // the last byte of a full settings reply
inline constexpr std::uint8_t kAck = 0x01;           // a written pair (or block) was taken

// ESC firmware update: kProbeLoader, then these two, then the records.
inline constexpr std::uint8_t kLoaderStart = 0x39;
inline constexpr std::uint8_t kLoaderGo = 0x31;

// Box firmware update: kProbeLoader wakes the box, kBoxEnterLoader (answered
// kBoxLoaderEntered), kProbeLoader again (answered kLoaderReady), then blocks.
inline constexpr std::uint8_t kBoxEnterLoader = 0xD7;
inline constexpr std::uint8_t kBoxLoaderEntered = 0xD8;
inline constexpr std::uint8_t kBlockAccepted = 0x11;
inline constexpr std::uint8_t kBlockCheckFailed = 0x12;

}  // namespace kel::protocol
