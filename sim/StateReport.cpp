#include "sim/StateReport.h"

#include <cstdio>

namespace kel::sim {

namespace {

template <typename Bytes>
std::string Hex(const Bytes& bytes)
{
    std::string text;
    char pair[4];
    for (const auto b : bytes) {
        std::snprintf(pair, sizeof pair, text.empty() ? "%02X" : " %02X", static_cast<unsigned>(b));
        text += pair;
    }
    return text;
}

std::string Line(const char* name, const std::string& value)
{
    return std::string(name) + ": " + value + "\n";
}

const char* ModeName(EscMode mode)
{
    switch (mode) {
    case EscMode::Absent: return "absent";
    case EscMode::Application: return "application";
    case EscMode::Loader: return "loader";
    }
    return "?";
}

}  // namespace

std::string StateReport(const DeviceModel& model)
{
    const EscLoader& esc = model.EscFirmware();
    const BoxLoader& box = model.BoxFirmware();
    std::string text = Line("esc-mode", ModeName(model.Esc())) + Line("esc-settings", Hex(model.Settings().Bytes()))
                       + Line("esc-image-address", std::to_string(esc.LowestAddress()))
                       + Line("esc-image", Hex(esc.FlatImage()))
                       + Line("esc-records", std::to_string(esc.RecordsProgrammed()))
                       + Line("esc-checksum-failures", std::to_string(esc.ChecksumFailures()))
                       + Line("esc-updates", std::to_string(model.EscUpdatesCompleted()))
                       + Line("box-blocks", std::to_string(box.AcceptedBlocks().size()));
    for (const auto& block : box.AcceptedBlocks())
        text += Line("box-block", Hex(block));
    text += Line("box-transfer-ended", box.TransferEnded() ? "yes" : "no")
            + Line("box-updates", std::to_string(model.BoxUpdatesCompleted()))
            + Line("bytes-received", std::to_string(model.ReceivedBytes().size()));
    return text;
}

}  // namespace kel::sim
