// What must survive a cell's run: the "check" lines of fault-matrix.cells.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "FaultCell.h"
#include "sim/EscSettings.h"

namespace kel::e2e {

namespace {

std::string Hex(std::uint8_t byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// The bytes of kel-sim's byte log lines "kel-sim: 655 ms from PC: E2 03", in order.
Bytes SentByPc(const std::string& log)
{
    Bytes sent;
    for (const std::string& line : Lines(log)) {
        const std::size_t at = line.find(" ms from PC: ");
        if (line.starts_with("kel-sim: ") && at != std::string::npos) {
            const Bytes bytes = HexBytes(line.substr(at + 13));
            sent.insert(sent.end(), bytes.begin(), bytes.end());
        }
    }
    return sent;
}

// "after N ARGS || LINE || ...": kel-cli ARGS (split at spaces) on the same
// kel-sim exits N and prints each LINE.
std::string FollowUp(const std::string& spec, CellContext& c)
{
    std::vector<std::string> parts;
    for (std::size_t from = 0, bar = 0; bar != std::string::npos; from = bar + 4) {
        bar = spec.find(" || ", from);
        parts.push_back(spec.substr(from, bar == std::string::npos ? bar : bar - from));
    }
    std::istringstream words(parts[0]);
    int exit = 0;
    words >> exit;
    std::vector<std::string> cli;
    for (std::string w; words >> w;)
        cli.push_back(w);
    const RunResult r = c.followUp(cli);
    std::string what =
        r.exitCode == exit ? "" : "exit " + std::to_string(r.exitCode) + " instead of " + std::to_string(exit) + "; ";
    const std::vector<std::string> lines = Lines(r.out);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (std::find(lines.begin(), lines.end(), c.ws.Expand(parts[i])) == lines.end())
            what += "no line \"" + parts[i] + "\"; ";
    }
    return what.empty() ? "" : "afterwards kel-cli " + parts[0] + ": " + what + "\n" + r.out + r.err;
}

std::string LeftBehind(const CellContext& c)
{
    // /dev/pts/N is locked as LCK..pts_N.
    std::string name = "LCK.." + c.ws.port.substr(std::string("/dev/").size());
    std::replace(name.begin(), name.end(), '/', '_');
    for (const std::string dir : {"/var/lock/", "/run/lock/"}) {
        if (std::filesystem::exists(dir + name))
            return "the lock file " + dir + name + " was left behind";
    }
    for (const auto& entry : std::filesystem::directory_iterator(c.ws.own)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(".kel-save-") || file.find(".part-") != std::string::npos)
            return "the temporary file " + file + " was left behind";
    }
    return {};
}

}  // namespace

std::string Workspace::Expand(const std::string& text) const
{
    // clang-format off
    const std::pair<std::string, std::string> names[] = {
        {"{zrv}", shared + "/sample.zrv"}, {"{zrv-small}", shared + "/small.zrv"}, {"{xup}", shared + "/sample.xup"},
        {"{xup-damaged}", shared + "/damaged.xup"}, {"{zrv-lower}", shared + "/lower.zrv"},
        {"{fifo}", shared + "/fifo.zrv"}, {"{cfg}", own + "/old.cfg"}, {"{missing}", own + "/missing.zrv"},
        {"{nodir}", own + "/no-such-folder/new.cfg"}, {"{nodir-folder}", own + "/no-such-folder"}, {"{port}", port}};
    // clang-format on
    std::string result = text;
    for (const auto& [name, value] : names) {
        for (std::size_t at; (at = result.find(name)) != std::string::npos;)
            result.replace(at, name.size(), value);
    }
    return result;
}

bool ChecksReport(const std::string& check)
{
    return check == "esc-factory" || check == "loader-untouched";
}

std::string Verify(const std::string& check, CellContext& c)
{
    std::istringstream words(check);
    std::string what;
    words >> what;
    if (what == "after")
        return FollowUp(check.substr(6), c);
    if (what == "signal-to-exit-below") {
        const std::int64_t ms = c.run.signalToExitMs;  // -1 when no signal was sent
        return ms >= 0 && ms < std::stoi(check.substr(what.size())) ? ""
                                                                    : "signal to exit: " + std::to_string(ms) + " ms";
    }
    Bytes bytes;  // the hex bytes a check names
    int max = -1;
    for (std::string w; words >> w;) {
        if (w == "max")
            words >> max;
        else
            bytes.push_back(static_cast<std::uint8_t>(std::stoi(w, nullptr, 16)));
    }
    const Bytes sent = SentByPc(c.simLog);
    const bool wasSent = !bytes.empty() && std::find(sent.begin(), sent.end(), bytes[0]) != sent.end();
    const std::string profile = ReadWholeFile(c.ws.Expand("{cfg}"));

    if (what == "sent-only") {
        for (std::uint8_t b : sent) {
            if (std::find(bytes.begin(), bytes.end(), b) == bytes.end())
                return "the PC sent " + Hex(b) + " (" + std::to_string(sent.size()) + " bytes in all)";
        }
        return max >= 0 && static_cast<int>(sent.size()) > max
                   ? "the PC sent " + std::to_string(sent.size()) + " bytes, more than " + std::to_string(max)
                   : "";
    }
    if (what == "sent")
        return wasSent ? "" : "the PC never sent " + Hex(bytes.at(0));
    if (what == "not-sent")
        return wasSent ? "the PC sent " + Hex(bytes[0]) : "";
    if (what == "last-sent")
        return !sent.empty() && sent.back() == bytes.at(0) ? "" : "the last byte the PC sent is not " + Hex(bytes[0]);
    if (what == "esc-factory") {
        const auto factory = sim::EscSettings::Defaults(true);
        return c.report->BytesOf("esc-settings") == Bytes(factory.begin(), factory.end())
                   ? ""
                   : "the ESC's settings changed";
    }
    if (what == "loader-untouched") {
        if (c.report->Number("esc-records") != 0)
            return "the ESC's loader got " + c.report->Value("esc-records") + " records";
        return c.report->Value("esc-mode") == "loader" ? "the ESC was left in its loader" : "";
    }
    if (what == "profile-unchanged")
        return profile == kOldProfile ? "" : "the old profile was changed";
    if (what == "profile-replaced")
        return profile.size() == 31 && profile != kOldProfile ? "" : "the profile was not replaced by 31 new bytes";
    if (what == "profile-byte") {  // OFFSET (decimal, read as hex above) and the byte
        const std::size_t offset = std::stoul(check.substr(check.find(' ') + 1));
        return profile.size() == 31 && static_cast<std::uint8_t>(profile[offset]) == bytes.at(1)
                   ? ""
                   : "the profile does not hold " + Hex(bytes[1]) + " at offset " + std::to_string(offset);
    }
    if (what == "no-progress")
        return c.run.err.find("Updating") == std::string::npos ? "" : "progress was shown for a refusal";
    if (what == "no-lock" || what == "no-temp")
        return LeftBehind(c);
    return "no check \"" + check + "\"";
}

}  // namespace kel::e2e
