// What the box and the ESC do with each command, pair, record and block.
#include "sim/DeviceModel.h"

#include <algorithm>

namespace kel::sim {

void DeviceModel::OnCommand(std::uint8_t byte, int boxD6Run, std::int64_t t)
{
    switch (byte) {
    case kBoxProbe:
        lastProbe_ = Probe::Box;
        Reply({kBoxAnswer, static_cast<std::uint8_t>(esc_)}, t);
        return;
    case kEscProbe:
        lastProbe_ = esc_ == EscMode::Application ? Probe::Esc : Probe::None;
        if (esc_ == EscMode::Application)
            Reply({kEscAnswer}, t);
        return;
    case kLoaderProbe: OnLoaderProbe(t); return;
    case kVersionQuery:
        if (boxD6Run >= kBoxHandshakeD6Count) {
            box_ = BoxMode::Handshake;
            handshakeD7s_ = 0;
            OnBoxHandshake(byte, t);
        } else {
            SendVersion(t);
        }
        return;
    default: break;
    }
    if (esc_ == EscMode::Application)
        OnEscCommand(byte, t);
    else if (esc_ == EscMode::Loader)
        OnEscLoaderCommand(byte, t);
}

void DeviceModel::OnLoaderProbe(std::int64_t t)
{
    const auto wrongReply = options_.faults.Value(FaultKind::WrongD6Reply);
    const auto answer = static_cast<std::uint8_t>(wrongReply.value_or(kLoaderReady));
    if (esc_ == EscMode::Loader) {
        Reply({answer}, t);
        return;
    }
    if (esc_ == EscMode::Application && ++escD6Run_ == kEscLoaderD6Count) {
        escD6Run_ = 0;
        if (!wrongReply) {
            esc_ = EscMode::Loader;
            escLoader_.Reset();
        }
        Reply({answer}, t);
        return;
    }
    Reply({kNotInLoader}, t, true);
}

void DeviceModel::OnEscCommand(std::uint8_t byte, std::int64_t t)
{
    if (EscSettings::IsTag(byte)) {
        pairTag_ = byte;
        return;
    }
    switch (byte) {
    case kSettingsRequest: SendSettings(t); break;
    case kEndOfWrite: Reply({kAck}, t); break;
    case kRestoreDefaults: settings_.RestoreDefaults(!options_.escStock); break;
    default: break;  // not a command of the ESC: ignored
    }
}

void DeviceModel::OnEscLoaderCommand(std::uint8_t byte, std::int64_t t)
{
    if (byte == EscLoader::kRecordStart)
        escLoader_.StartRecord();
    else if (byte == kEscLoaderStep1 || byte == kEscLoaderStep2)
        Reply({kAck}, t);
}

void DeviceModel::OnPair(std::uint8_t tag, std::uint8_t value, std::int64_t t)
{
    ++pairs_;
    const bool refusedByCount = options_.faults.Hit(FaultKind::RefusedPair);
    const bool oneAckOnly = options_.faults.Hit(FaultKind::NoSecondAck);
    const auto refusedTag = options_.faults.Value(FaultKind::RefusedTag);
    if (refusedByCount || (refusedTag && *refusedTag == tag)) {
        Reply({kRefused}, t);
        return;
    }
    const auto misstoredTag = options_.faults.Value(FaultKind::MisstoredTag);
    const bool misstored = misstoredTag && *misstoredTag == tag;
    settings_.Apply(tag, static_cast<std::uint8_t>(misstored ? value + 1 : value));
    if (oneAckOnly)
        Reply({kAck}, t);
    else
        Reply({kAck, kAck}, t);
}

void DeviceModel::OnRecord(const HexRecord& record, std::int64_t t)
{
    if (options_.faults.Hit(FaultKind::NoAck))
        return;  // lost: neither programmed nor acknowledged
    escLoader_.Program(record);
    Reply({record.checksumOk ? kAck : kRecordBadChecksum}, t);
    if (record.type == EscLoader::kEndOfFile && record.checksumOk) {
        esc_ = EscMode::Application;
        ++escUpdates_;
    }
}

void DeviceModel::OnBoxHandshake(std::uint8_t byte, std::int64_t t)
{
    if (byte == kVersionQuery) {
        // The first 0xD7 is attempt 0; the Nth retry is attempt N.
        const int attempt = handshakeD7s_++;
        const int d8From = options_.faults.Value(FaultKind::D8OnRetry).value_or(0);
        if (box_ == BoxMode::Handshake && attempt < d8From) {
            Reply({kRefused}, t);
            return;
        }
        box_ = BoxMode::LoaderArmed;
        Reply({kBoxHandshakeReply}, t);
        return;
    }
    if (byte == kLoaderProbe && box_ == BoxMode::LoaderArmed) {
        box_ = BoxMode::Loader;
        boxLoader_.Reset();
        boxLoaderGotBlock_ = false;
        blockRefusals_ = 0;
        Reply({kLoaderReady}, t);
        return;
    }
    // Anything else breaks off the handshake and is taken as a command.
    box_ = BoxMode::Normal;
    boxD6Run_ = byte == kLoaderProbe ? 1 : 0;
    escD6Run_ = 0;
    OnCommand(byte, 0, t);
}

bool DeviceModel::LeavesBoxLoader(std::uint8_t byte) const
{
    return !boxLoader_.InBlock() && byte >= kFirstNonBlockLengthByte && !IsLoaderReadyRepeat(byte);
}

// A repeated 0xD6 before the first block asks again whether the loader is ready.
bool DeviceModel::IsLoaderReadyRepeat(std::uint8_t byte) const
{
    return !boxLoaderGotBlock_ && !boxLoader_.InBlock() && byte == kLoaderProbe;
}

void DeviceModel::OnBoxLoaderByte(std::uint8_t byte, std::int64_t t)
{
    if (IsLoaderReadyRepeat(byte)) {
        Reply({kLoaderReady}, t);
        return;
    }
    const auto block = boxLoader_.OnByte(byte);
    if (!block)
        return;
    boxLoaderGotBlock_ = true;
    if (options_.faults.Hit(FaultKind::BadBlockCheck) || !block->checkOk) {
        blockRefusals_ = 0;
        Reply({kBlockCheckFailed}, t);
        return;
    }
    const int resends = options_.faults.Value(FaultKind::Resend).value_or(0);
    if (blockRefusals_ < resends) {
        ++blockRefusals_;
        Reply({kBlockResend}, t);
        return;
    }
    blockRefusals_ = 0;
    boxLoader_.Accept(*block);
    Reply({kBlockAccepted}, t);
    if (block->endOfTransfer) {
        box_ = BoxMode::Normal;
        ++boxUpdates_;
    }
}

void DeviceModel::SendSettings(std::int64_t t)
{
    if (options_.faults.Hit(FaultKind::NoSettingsReply))
        return;
    std::vector<std::uint8_t> reply(settings_.Bytes().begin(), settings_.Bytes().end());
    if (const auto mark = options_.faults.Value(FaultKind::WrongEndMark))
        reply[EscSettings::kEndMarkByte] = static_cast<std::uint8_t>(*mark);
    if (const auto length = options_.faults.Value(FaultKind::ShortReply))
        reply.resize(std::min<std::size_t>(reply.size(), static_cast<std::size_t>(*length)));
    Reply(std::move(reply), t);
}

// The ESC's version in bytes 0..3 when the last probe found the ESC, else the
// box's version in bytes 2..5.
void DeviceModel::SendVersion(std::int64_t t)
{
    std::vector<std::uint8_t> reply(kVersionReplySize, 0);
    if (lastProbe_ == Probe::Esc && esc_ == EscMode::Application) {
        std::copy(options_.escVersion.begin(), options_.escVersion.end(), reply.begin());
    } else {
        reply[0] = kBoxAnswer;
        std::copy(options_.boxVersion.begin(), options_.boxVersion.end(), reply.begin() + 2);
    }
    Reply(std::move(reply), t);
}

}  // namespace kel::sim
