#include "sim/DeviceModel.h"

#include <algorithm>

namespace kel::sim {

DeviceModel::DeviceModel(DeviceOptions options) : options_(options), settings_(!options_.escStock)
{
    PowerUp();
    if (const auto held = options_.faults.Value(FaultKind::OutOfRange))
        settings_.Set(kLowVoltCustomByte, static_cast<std::uint8_t>(*held));
    esc_ = !options_.escAttached ? EscMode::Absent : options_.escInLoader ? EscMode::Loader : EscMode::Application;
}

bool DeviceModel::Receive(const std::uint8_t* data, std::size_t count, std::int64_t nowMs)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsPresent(nowMs))
            return false;
        OnByte(data[i], nowMs);
    }
    return count == 0 ? IsPresent(nowMs) : true;
}

std::vector<std::uint8_t> DeviceModel::Take(std::size_t count)
{
    count = std::min(count, output_.size());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(output_.front().value);
        output_.pop_front();
    }
    return bytes;
}

void DeviceModel::DropArrived(std::int64_t nowMs)
{
    while (!output_.empty() && output_.front().atMs <= nowMs)
        output_.pop_front();
}

std::optional<std::int64_t> DeviceModel::NextArrivalMs() const
{
    if (output_.empty())
        return std::nullopt;
    return output_.front().atMs;
}

bool DeviceModel::IsPresent(std::int64_t nowMs)
{
    if (!unpluggedAt_)
        return true;
    const auto replugAt = ReplugAtMs();
    if (!replugAt || nowMs < *replugAt)
        return false;
    unpluggedAt_.reset();
    options_.faults.Clear(FaultKind::Unplug);
    PowerUp();
    return true;
}

std::optional<std::int64_t> DeviceModel::ReplugAtMs() const
{
    const auto delay = options_.faults.Value(FaultKind::Replug);
    if (!unpluggedAt_ || !delay)
        return std::nullopt;
    return *unpluggedAt_ + *delay;
}

void DeviceModel::Unplug(std::int64_t t)
{
    unpluggedAt_ = t;
    ++unplugs_;
    // What is already on the wire arrives; nothing later is sent.
    std::erase_if(output_, [t](const OutputByte& b) { return b.atMs > t; });
}

// Power-on state of the box. The ESC keeps its settings and, when it was in
// its loader, stays there (a half-flashed ESC boots into its loader).
void DeviceModel::PowerUp()
{
    box_ = BoxMode::Normal;
    output_.clear();
    lastProbe_ = Probe::None;
    pairTag_.reset();
    escD6Run_ = boxD6Run_ = handshakeD7s_ = blockRefusals_ = 0;
    quietD6Due_.reset();
    lastByteAt_.reset();
    escLoader_.DropPartial();
    boxLoader_.DropPartial();
}

void DeviceModel::Settle(std::int64_t t)
{
    if (quietD6Due_) {
        if (*quietD6Due_ <= t)
            escD6Run_ = 0;  // the answer went out: the next 0xD6 starts a new run
        else
            std::erase_if(output_, [](const OutputByte& b) { return b.tentative; });
        quietD6Due_.reset();
    }
    if (lastByteAt_ && t - *lastByteAt_ >= kIdleResetMs) {
        pairTag_.reset();
        escLoader_.DropPartial();
        boxLoader_.DropPartial();
        box_ = BoxMode::Normal;
        escD6Run_ = boxD6Run_ = 0;
    }
    lastByteAt_ = t;
}

void DeviceModel::OnByte(std::uint8_t byte, std::int64_t t)
{
    Settle(t);
    received_.push_back(byte);
    if (!options_.faults.Hit(FaultKind::NoEcho))
        Queue({byte, t, false});

    if (box_ == BoxMode::Loader && LeavesBoxLoader(byte))
        box_ = BoxMode::Normal;
    if (box_ == BoxMode::Loader) {
        OnBoxLoaderByte(byte, t);
    } else if (pairTag_) {
        const std::uint8_t tag = *pairTag_;
        pairTag_.reset();
        OnPair(tag, byte, t);
    } else if (esc_ == EscMode::Loader && escLoader_.InRecord()) {
        if (auto record = escLoader_.OnRecordByte(byte))
            OnRecord(*record, t);
    } else if (box_ == BoxMode::Handshake || box_ == BoxMode::LoaderArmed) {
        OnBoxHandshake(byte, t);
    } else {
        const int boxD6Run = boxD6Run_;
        boxD6Run_ = byte == kLoaderProbe ? boxD6Run_ + 1 : 0;
        if (byte != kLoaderProbe)
            escD6Run_ = 0;
        OnCommand(byte, boxD6Run, t);
    }

    const auto unplugAfter = options_.faults.Value(FaultKind::Unplug);
    if (unplugAfter && options_.faults.Tally(FaultKind::Unplug) >= *unplugAfter)
        Unplug(t);
}

void DeviceModel::Reply(std::vector<std::uint8_t> bytes, std::int64_t t, bool tentative)
{
    if (bytes.empty() || options_.faults.Hit(FaultKind::NoReply))
        return;
    std::int64_t at = t + options_.faults.Value(FaultKind::LateReply).value_or(0);
    if (tentative) {
        at += kD6QuietMs;
        quietD6Due_ = at;
    }
    const bool lastLate = bytes.size() > 1 && options_.faults.Hit(FaultKind::LateBytes);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        Queue({bytes[i], at + (lastLate && i + 1 == bytes.size() ? kLateBytesMs : 0), tentative});
}

void DeviceModel::Queue(OutputByte byte)
{
    // In order of arrival; a late reply may come after later echoes.
    auto it = std::upper_bound(output_.begin(), output_.end(), byte.atMs,
                               [](std::int64_t at, const OutputByte& b) { return at < b.atMs; });
    output_.insert(it, byte);
}

}  // namespace kel::sim
