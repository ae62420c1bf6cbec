// Every exchange of kel-cli against a real kel-sim under every fault that
// applies to it, as fault-matrix.cells states them (its head says the format):
// exact messages, exit status, bounded time, what survives.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iterator>
#include <memory>
#include <numeric>
#include <optional>
#include <regex>
#include <sys/stat.h>
#include <thread>
#include <tuple>

#include "support/Process.h"
#include "sim/EscSettings.h"

namespace kel::e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace kel::test;  // the child processes and files

Bytes HexBytes(const std::string& text)
{
    Bytes bytes;
    std::istringstream words(text);
    for (std::string hex; words >> hex;)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
    return bytes;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// kel-cli on `port`, with a data folder in `folder` for the backups of its writes.
RunResult RunCli(const std::string& port, const std::string& folder, std::vector<std::string> args,
                 int hardLimitMs = 60'000, const SignalWhen& signal = {})
{
    args.insert(args.begin(), {"XDG_DATA_HOME=" + folder + "/data", KEL_CLI_PATH, "--port", port});
    return RunProgram("/usr/bin/env", args, hardLimitMs, signal);
}

// kel-sim's --report ("name: value" lines): what the devices held when it stopped.
using SimReport = std::map<std::string, std::string>;

// One kel-sim in a fresh folder, which keeps its byte log and its report.
struct SimSession {
    explicit SimSession(std::vector<std::string> simArgs) : folder(MakeTempDir("kel-e2e"))
    {
        simArgs.insert(simArgs.begin(), {"--report", folder + "/report.txt"});
        sim = std::make_unique<SimProcess>(KEL_SIM_PATH, simArgs, folder + "/sim.log");
    }
    ~SimSession()
    {
        sim.reset();
        if (!keepFolder)
            std::filesystem::remove_all(folder);
    }

    SimReport StopAndReport()
    {
        sim->Stop();
        SimReport report;
        for (const std::string& line : Lines(ReadWholeFile(folder + "/report.txt")))
            if (const std::size_t colon = line.find(": "); colon != std::string::npos)
                report[line.substr(0, colon)] = line.substr(colon + 2);
        return report;
    }

    std::string folder;
    std::unique_ptr<SimProcess> sim;
    bool keepFolder = false;  // for a look at what a failed test left
};

// One exchange under one simulator fault, as fault-matrix.cells states it.
struct Cell {
    std::string row, column;            // the exchange ("detect esc") and the fault kind
    std::vector<std::string> sim, cli;  // the arguments of kel-sim and of kel-cli (after --port)
    int exit = 0;
    std::vector<std::string> err;     // standard error, in order, without progress lines
    std::vector<std::string> out;     // lines standard output holds
    int waitsMs = 0;                  // the behaviour's own waits on this path
    std::vector<std::string> checks;  // "check" lines
    // A signal for kel-cli (Ctrl-C): sent once its progress reaches
    // `atPercent`, or else once kel-sim's byte log shows `simLogHas`.
    struct Interrupt {
        int signal = 0;
        int atPercent = -1;
        std::string simLogHas;
    } interrupt = {};
};

// The cells and the waits of a .cells file, or what is wrong with it.
struct CellFile {
    std::vector<Cell> cells;
    std::map<std::string, int> waits;
    std::string error;
};

// The files a cell names as {zrv}, {cfg}, ... (fault-matrix.cells lists them).
struct Workspace {
    std::string shared;  // folder of the sample firmware
    std::string own;     // the cell's own folder
    std::string port;

    std::string Expand(const std::string& text) const
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
};

const std::string kOldProfile(31, '\x5A');

// What a cell's run left, for the checks of what survives.
struct CellContext {
    const Workspace& ws;
    RunResult run;
    std::function<RunResult(const std::vector<std::string>&)> followUp;  // kel-cli on the same kel-sim
    std::string simLog;                 // kel-sim's byte log of the run itself (not of the follow-ups)
    const SimReport* report = nullptr;  // what the devices held when kel-sim stopped
};

CellFile ReadCells(const std::string& path)
{
    CellFile file;
    std::ifstream in(path);
    if (!in)
        file.error = "cannot read " + path;
    std::string row;
    std::vector<std::string> rowCli;
    Cell* cell = nullptr;
    // The value of a sum of numbers, wait names and N*name.
    auto sum = [&](const std::string& text, std::string& error) {
        int total = 0;
        std::istringstream terms(text);
        for (std::string term; terms >> term;) {
            const std::size_t star = term.find('*');
            const int factor = star == std::string::npos ? 1 : std::stoi(term.substr(0, star));
            const std::string name = term.substr(star == std::string::npos ? 0 : star + 1);
            if (std::isdigit(static_cast<unsigned char>(name[0])))
                total += factor * std::stoi(name);
            else if (file.waits.contains(name))
                total += factor * file.waits[name];
            else if (name != "+")
                error = "no wait named " + name;
        }
        return total;
    };
    int lineNumber = 0;
    for (std::string line; file.error.empty() && std::getline(in, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        if (line.starts_with("  || ") && cell && !cell->checks.empty()) {
            cell->checks.back() += line.substr(1);
            continue;
        }
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        std::vector<std::string> words;  // split at spaces; "..." keeps its spaces
        std::istringstream split(rest);
        for (std::string word; split >> std::quoted(word);)
            words.push_back(word);
        std::string error;
        if (key == "wait" && words.size() >= 3 && words[1] == "=") {
            const std::string expression = rest.substr(rest.find('=') + 1);
            file.waits[words[0]] = sum(expression.substr(0, expression.find('#')), error);
        } else if (key == "row") {
            row = rest;
            rowCli.clear();
            cell = nullptr;
        } else if (key == "cell") {
            cell = &file.cells.emplace_back();
            std::tie(cell->row, cell->column, cell->cli) = std::tie(row, rest, rowCli);
        } else if (key == "cli") {
            (cell ? cell->cli : rowCli) = words;
        } else if (!cell) {
            error = key + " outside a cell";
        } else if (key == "sim") {
            cell->sim = words;
        } else if (key == "exit") {
            cell->exit = std::stoi(rest);
        } else if (key == "err" || key == "out" || key == "check") {
            (key == "err" ? cell->err : key == "out" ? cell->out : cell->checks).push_back(rest);
        } else if (key == "waits") {
            cell->waitsMs = sum(rest, error);
        } else if (key == "signal" && words.size() >= 3 && (words[1] == "at" || words[1] == "on")) {
            cell->interrupt.signal = words[0] == "SIGINT" ? SIGINT : SIGTERM;
            if (words[1] == "at")
                cell->interrupt.atPercent = std::stoi(words[2]);
            else
                cell->interrupt.simLogHas = rest.substr(rest.find(" on ") + 4);
        } else {
            error = "cannot read \"" + line + "\"";
        }
        if (!error.empty())
            file.error = path + ":" + std::to_string(lineNumber) + ": " + error;
    }
    return file;
}

std::string Hex(std::uint8_t byte)
{
    const char* digits = "0123456789ABCDEF";
    return {'0', 'x', digits[byte >> 4], digits[byte & 15]};
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
// kel-sim exits N and prints each LINE (on standard output or error).
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
    const RunResult r = c.followUp({std::istream_iterator<std::string>(words), {}});
    std::string what =
        r.exitCode == exit ? "" : "exit " + std::to_string(r.exitCode) + " instead of " + std::to_string(exit) + "; ";
    const std::vector<std::string> lines = Lines(r.out + "\n" + r.err);
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

// What a check found ("" when it holds).
std::string Verify(const std::string& check, CellContext& c)
{
    std::istringstream words(check);
    std::string what;
    words >> what;
    if (what == "after")
        return FollowUp(check.substr(6), c);
    if (what == "report") {  // NAME VALUE
        std::string name, value;
        words >> name >> value;
        const std::string reported = c.report->contains(name) ? c.report->at(name) : "";
        return reported == value ? "" : "kel-sim reports " + name + ": " + reported;
    }
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
        return HexBytes(c.report->at("esc-settings")) == Bytes(factory.begin(), factory.end())
                   ? ""
                   : "the ESC's settings changed";
    }
    if (what == "profile-unchanged")
        return ReadWholeFile(c.ws.Expand("{cfg}")) == kOldProfile ? "" : "the old profile was changed";
    if (what == "no-progress")
        return c.run.err.find("Updating") == std::string::npos ? "" : "progress was shown for a refusal";
    if (what == "no-lock" || what == "no-temp")
        return LeftBehind(c);
    return "no check \"" + check + "\"";
}

// In an expected line of standard error, stands for any text.
const std::string kAnyText = "{any}";
// Stands for one line, anywhere, "kel-cli: ..." that names the port that went away.
const std::string kPortFailure = "{port-failure}";

std::string Joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string all;
    for (const std::string& p : parts)
        all += (all.empty() ? "" : separator) + p;
    return all;
}

struct CellResult {
    const Cell* cell = nullptr;
    std::vector<std::string> problems;  // empty when the cell passed
    bool onlySlow = false;              // its one problem was the time it took
};

// A progress line of standard error ("Updating 35%").
const std::regex kProgress("(Setting|Updating) ([0-9]+)%");

// Whether a progress line shows `percent` or more.
bool ProgressReached(const std::string& err, int percent)
{
    for (auto it = std::sregex_iterator(err.begin(), err.end(), kProgress); it != std::sregex_iterator(); ++it) {
        if (std::stoi((*it)[2].str()) >= percent)
            return true;
    }
    return false;
}

// `expected` with each {any} standing for any text.
bool LineMatches(const std::string& actual, const std::string& expected)
{
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    std::string pattern;
    std::size_t from = 0;
    for (std::size_t any; (any = expected.find(kAnyText, from)) != std::string::npos; from = any + kAnyText.size())
        pattern += std::regex_replace(expected.substr(from, any - from), special, R"(\$&)") + ".*";
    return std::regex_match(actual, std::regex(pattern + std::regex_replace(expected.substr(from), special, R"(\$&)")));
}

void CheckMessages(const Cell& cell, const Workspace& ws, const RunResult& run, std::vector<std::string>& problems)
{
    std::vector<std::string> actual, expected;
    for (const std::string& line : Lines(run.err)) {
        if (!std::regex_match(line, kProgress))
            actual.push_back(line);
    }
    for (const std::string& line : cell.err) {
        if (line != kPortFailure) {
            expected.push_back(ws.Expand(line));
            continue;
        }
        const auto it = std::find_if(actual.begin(), actual.end(), [&](const std::string& line) {
            return line.starts_with("kel-cli: ") && line.find(ws.port) != std::string::npos;
        });
        if (it == actual.end())
            problems.push_back("no line \"kel-cli: ...\" names the port that went away");
        else
            actual.erase(it);
    }
    if (actual.size() != expected.size() || !std::equal(actual.begin(), actual.end(), expected.begin(), LineMatches))
        problems.push_back("standard error [" + Joined(actual, " | ") + "] instead of [" + Joined(expected, " | ")
                           + "]");
    const std::vector<std::string> out = Lines(run.out);
    for (const std::string& wanted : cell.out) {
        if (std::find(out.begin(), out.end(), ws.Expand(wanted)) == out.end())
            problems.push_back("standard output lacks \"" + ws.Expand(wanted) + "\"");
    }
}

CellResult RunCell(const std::string& shared, const Cell& cell, int marginMs)
{
    CellResult result{&cell, {}};
    auto& problems = result.problems;
    std::vector<std::string> simArgs{"--verbose"};
    simArgs.insert(simArgs.end(), cell.sim.begin(), cell.sim.end());
    SimSession sim(simArgs);
    const Workspace ws{shared, sim.folder, sim.sim->Port()};
    if (ws.own.empty() || ws.port.empty() || !WriteWholeFile(ws.own + "/old.cfg", kOldProfile)) {
        problems.push_back("cannot set up a working folder, or kel-sim announced no terminal");
        return result;
    }
    auto runCli = [&](const std::vector<std::string>& args, int hardLimitMs, const SignalWhen& signal) {
        std::vector<std::string> expanded;
        for (const std::string& a : args)
            expanded.push_back(ws.Expand(a));
        return RunCli(ws.port, ws.own, expanded, hardLimitMs, signal);
    };
    const Cell::Interrupt& interrupt = cell.interrupt;
    const SignalWhen signal{interrupt.signal, [&](const std::string& err) {
                                return interrupt.atPercent < 0
                                           ? sim.sim->Log().find(interrupt.simLogHas) != std::string::npos
                                           : ProgressReached(err, interrupt.atPercent);
                            }};
    const int boundMs = cell.waitsMs + marginMs;
    CellContext context{ws, runCli(cell.cli, boundMs + 10'000, signal), {}, {}, nullptr};
    const RunResult& run = context.run;
    if (run.killed)
        problems.push_back("still running after " + std::to_string(run.wallMs) + " ms: killed");
    else if (run.exitCode != cell.exit)
        problems.push_back("exit " + std::to_string(run.exitCode) + " instead of " + std::to_string(cell.exit));
    CheckMessages(cell, ws, run, problems);
    const bool slow = run.wallMs >= boundMs;
    if (slow)
        problems.push_back("took " + std::to_string(run.wallMs) + " ms, not below " + std::to_string(cell.waitsMs)
                           + " ms of waits + " + std::to_string(marginMs) + " ms");

    // What the run sent, before any follow-up adds to the log; kel-sim logs
    // what it reads as it reads it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    context.simLog = sim.sim->Log();
    context.followUp = [&](const std::vector<std::string>& args) { return runCli(args, 30'000, {}); };
    std::optional<SimReport> report;
    for (const bool afterStop : {false, true}) {
        if (afterStop)
            context.report = &report.emplace(sim.StopAndReport());
        for (const std::string& check : cell.checks) {  // those reading kel-sim's report once it stopped
            const bool readsReport = check == "esc-factory" || check.starts_with("report ");
            if (std::string what = readsReport == afterStop ? Verify(check, context) : ""; !what.empty())
                problems.push_back(what);
        }
    }
    result.onlySlow = slow && problems.size() == 1;
    if (!problems.empty()) {
        problems.push_back("kel-sim " + Joined(cell.sim, " ") + "; kel-cli " + Joined(cell.cli, " ") + " said:\n"
                           + run.out + run.err);
        problems.push_back("its files and kel-sim's byte log are kept in " + ws.own);
        sim.keepFolder = true;
    }
    return result;
}

// Makes the sample firmware the cells name in `folder`; "" or what went wrong.
std::string MakeSampleFiles(const std::string& folder)
{
    for (const auto& [name, size] : {std::pair{"sample.zrv", "1024"}, {"small.zrv", "128"}, {"sample.xup", "1024"}}) {
        const std::string path = folder + "/" + name;
        const RunResult r = RunProgram(
            KEL_SIM_PATH, {path.ends_with(".zrv") ? "--write-zrv" : "--write-xup", path, "--size", size}, 10'000);
        if (r.exitCode != 0)
            return "kel-sim could not write " + path + ": " + r.err;
    }
    // The sample with a-f for A-F: each digit read as 0 spoils a record.
    std::string lower = ReadWholeFile(folder + "/sample.zrv");
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'F' ? c + 32 : c; });
    // damaged.xup: one block that states 16 bytes and brings 2.
    if (!WriteWholeFile(folder + "/damaged.xup", "0010AABB") || !WriteWholeFile(folder + "/lower.zrv", lower)
        || ::mkfifo((folder + "/fifo.zrv").c_str(), 0600) != 0)
        return "cannot write the damaged samples and the FIFO";
    return {};
}

// The time a run takes beyond its waits on this build and machine: the slowest
// of `jobs` clean `detect --as box` runs side by side, doubled, plus slack.
int CalibrateMargin(int jobs, int openMs)
{
    std::vector<std::int64_t> overheads(static_cast<std::size_t>(std::max(1, jobs)), 0);
    std::vector<std::thread> threads;
    for (std::size_t j = 0; j < overheads.size(); ++j) {
        threads.emplace_back([&, j] {
            SimSession sim({});
            overheads[j] = RunCli(sim.sim->Port(), sim.folder, {"detect", "--as", "box"}, 30'000).wallMs - openMs;
        });
    }
    for (std::thread& t : threads)
        t.join();
    const std::int64_t slowest = *std::max_element(overheads.begin(), overheads.end());
    return static_cast<int>(2 * std::max<std::int64_t>(slowest, 200)) + 400;
}

// Runs every cell on its own kel-sim, `jobs` at a time. A cell whose only fault
// was its time runs once more: a burst of load passes, a wait too many fails twice.
std::vector<CellResult> RunCells(const std::string& shared, const std::vector<Cell>& cells, int jobs, int marginMs)
{
    // Longest first, so the slow cells do not trail at the end.
    std::vector<std::size_t> order(cells.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return cells[a].waitsMs > cells[b].waitsMs; });
    std::vector<CellResult> results(cells.size());
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (int j = 0; j < std::max(1, jobs); ++j) {
        threads.emplace_back([&] {
            for (std::size_t i; (i = next++) < order.size();) {
                CellResult& result = results[order[i]];
                result = RunCell(shared, cells[order[i]], marginMs);
                if (result.onlySlow)
                    result = RunCell(shared, cells[order[i]], marginMs);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    return results;
}

TEST(FaultMatrix, EveryExchangeUnderEveryFault)
{
    const CellFile file = ReadCells(KEL_E2E_CELLS);
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.cells.size(), 105u);  // a cell lost from the file fails here
    const std::string shared = MakeTempDir("kel-e2e-firmware");
    ASSERT_FALSE(shared.empty());
    ASSERT_EQ(MakeSampleFiles(shared), "");

    const int jobs = 6;
    const int margin = CalibrateMargin(jobs, file.waits.at("open"));
    const std::vector<CellResult> results = RunCells(shared, file.cells, jobs, margin);
    for (const CellResult& r : results)
        EXPECT_TRUE(r.problems.empty()) << r.cell->row << " / " << r.cell->column << " (each run within its waits + "
                                        << margin << " ms):\n  - " << Joined(r.problems, "\n  - ");
    std::filesystem::remove_all(shared);
}

// A traced read and write against kel-sim, replayed by kel-sim --replay:
// kel-cli sees the same box, ends the same way, and uses up the log.
TEST(TraceRoundTrip, ReplayedReadAndWriteEndAsTheyDid)
{
    const std::vector<std::vector<std::string>> commands{{"read"},
                                                         {"write", "Power Level=Level 3", "Drag Brake custom=25%"}};
    std::vector<RunResult> traced;
    SimSession session({});
    const std::string log = session.folder + "/box.log";
    for (const auto& command : commands) {
        std::vector<std::string> args{"--trace", log};
        args.insert(args.end(), command.begin(), command.end());
        traced.push_back(RunCli(session.sim->Port(), session.folder, args));
        ASSERT_EQ(traced.back().exitCode, 0) << traced.back().err;
    }
    const std::string text = ReadWholeFile(log);
    for (const char* part : {"## kel-cli", "\n# poll\n", "\n# read settings\n", "\n# write settings\n", " ms  > DF\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;

    SimProcess replay(KEL_SIM_PATH, {"--replay", log}, session.folder + "/replay.log");
    ASSERT_NE(replay.Port(), "");
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const RunResult again = RunCli(replay.Port(), session.folder, commands[i]);
        EXPECT_EQ(again.exitCode, traced[i].exitCode) << again.err;
        EXPECT_EQ(again.out, traced[i].out);
        EXPECT_EQ(again.err, traced[i].err);
    }
    replay.Stop();
    EXPECT_EQ(replay.Log(), "kel-sim: replay: every byte of the log was played\n");
}

}  // namespace
}  // namespace kel::e2e
