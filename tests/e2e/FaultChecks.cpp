// What must survive a cell's run, checked afterwards.
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

bool HasLine(const std::string& text, const std::string& line)
{
    std::size_t at = 0;
    while ((at = text.find(line, at)) != std::string::npos) {
        const bool starts = at == 0 || text[at - 1] == '\n';
        const std::size_t end = at + line.size();
        if (starts && (end == text.size() || text[end] == '\n'))
            return true;
        at = end;
    }
    return false;
}

} // namespace

std::string Workspace::Expand(const std::string& text) const
{
    const std::pair<std::string, std::string> names[] = {
        {"{zrv}", shared + "/sample.zrv"},
        {"{zrv-small}", shared + "/small.zrv"},
        {"{xup}", shared + "/sample.xup"},
        {"{xup-damaged}", shared + "/damaged.xup"},
        {"{zrv-lower}", shared + "/lower.zrv"},
        {"{fifo}", shared + "/fifo.zrv"},
        {"{cfg}", own + "/old.cfg"},
        {"{missing}", own + "/missing.zrv"},
        {"{nodir}", own + "/no-such-folder/new.cfg"},
        {"{nodir-folder}", own + "/no-such-folder"},
        {"{port}", port},
    };
    std::string result = text;
    for (const auto& [name, value] : names) {
        for (std::size_t at; (at = result.find(name)) != std::string::npos;)
            result.replace(at, name.size(), value);
    }
    return result;
}

Check FollowUp(std::vector<std::string> cli, int exit, std::vector<std::string> out)
{
    return {[=](CellContext& c) -> std::string {
                const RunResult r = c.followUp(cli);
                std::string what;
                if (r.exitCode != exit)
                    what = "exit " + std::to_string(r.exitCode) + " instead of " + std::to_string(exit);
                for (const std::string& line : out) {
                    if (!HasLine(r.out, c.ws.Expand(line)))
                        what += (what.empty() ? "" : "; ") + ("no line \"" + line + "\"");
                }
                if (what.empty())
                    return {};
                std::string command;
                for (const std::string& a : cli)
                    command += " " + a;
                return "afterwards kel-cli" + command + ": " + what + "\n" + r.out + r.err;
            }};
}

Check ProfileUnchanged()
{
    return {[](CellContext& c) -> std::string {
                return ReadWholeFile(c.ws.Expand("{cfg}")) == kOldProfile ? "" : "the old profile was changed";
            }};
}

Check ProfileReplaced()
{
    return {[](CellContext& c) -> std::string {
                const std::string now = ReadWholeFile(c.ws.Expand("{cfg}"));
                if (now.size() != 31)
                    return "the profile holds " + std::to_string(now.size()) + " bytes, not 31";
                return now == kOldProfile ? "the old profile is still there" : "";
            }};
}

Check PcSentOnly(std::set<std::uint8_t> allowed, int maxBytes)
{
    return {[=](CellContext& c) -> std::string {
                const Bytes sent = c.traffic->FromPc();
                for (std::uint8_t b : sent) {
                    if (!allowed.contains(b))
                        return "the PC sent " + Hex(b) + " (" + std::to_string(sent.size()) + " bytes in all)";
                }
                if (maxBytes >= 0 && static_cast<int>(sent.size()) > maxBytes)
                    return "the PC sent " + std::to_string(sent.size()) + " bytes, more than "
                           + std::to_string(maxBytes);
                return {};
            }};
}

Check PcSent(std::uint8_t byte, bool sent)
{
    return {[=](CellContext& c) -> std::string {
                const Bytes all = c.traffic->FromPc();
                const bool found = std::find(all.begin(), all.end(), byte) != all.end();
                if (found == sent)
                    return {};
                return "the PC " + std::string(sent ? "never sent " : "sent ") + Hex(byte);
            }};
}

Check PcLastSent(std::uint8_t byte)
{
    return {[=](CellContext& c) -> std::string {
                const Bytes all = c.traffic->FromPc();
                if (!all.empty() && all.back() == byte)
                    return {};
                return "the last byte the PC sent is not " + Hex(byte);
            }};
}

Check EscLoaderUntouched()
{
    return {[](CellContext& c) -> std::string {
                if (c.report->Number("esc-records") != 0)
                    return "the ESC's loader got " + c.report->Value("esc-records") + " records";
                return c.report->Value("esc-mode") == "loader" ? "the ESC was left in its loader" : "";
            },
            true};
}

Check NoUpdateProgress()
{
    return {[](CellContext& c) -> std::string {
                return c.run.err.find("Updating") == std::string::npos ? "" : "progress was shown for a refusal";
            }};
}

Check EscKeepsFactorySettings()
{
    return {[](CellContext& c) -> std::string {
                const auto factory = sim::EscSettings::Defaults(true);
                const Bytes now = c.report->Bytes("esc-settings");
                return now == Bytes(factory.begin(), factory.end()) ? "" : "the ESC's settings changed";
            },
            true};
}

Check NoLockLeft()
{
    return {[](CellContext& c) -> std::string {
                // /dev/pts/N is locked as LCK..pts_N.
                std::string name = c.ws.port.substr(std::string("/dev/").size());
                std::replace(name.begin(), name.end(), '/', '_');
                for (const char* dir : {"/var/lock/", "/run/lock/"}) {
                    if (std::filesystem::exists(std::string(dir) + "LCK.." + name))
                        return std::string("the lock file ") + dir + "LCK.." + name + " was left behind";
                }
                return {};
            }};
}

Check NoTemporaryFileLeft()
{
    return {[](CellContext& c) -> std::string {
                for (const auto& entry : std::filesystem::directory_iterator(c.ws.own)) {
                    const std::string name = entry.path().filename().string();
                    if (name.starts_with(".kel-save-") || name.find(".part-") != std::string::npos)
                        return "the temporary file " + name + " was left behind";
                }
                return {};
            }};
}

} // namespace kel::e2e
