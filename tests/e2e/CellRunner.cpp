#include "CellRunner.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace kel::e2e {

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string all;
    for (const std::string& p : parts)
        all += (all.empty() ? "" : separator) + p;
    return all;
}

// Standard error without the progress lines of a pipe ("Setting 35%").
std::vector<std::string> Messages(const std::string& err)
{
    static const std::regex progress("(Setting|Updating) [0-9]+%");
    std::vector<std::string> kept;
    for (const std::string& line : Lines(err)) {
        if (!std::regex_match(line, progress))
            kept.push_back(line);
    }
    return kept;
}

}  // namespace

bool ProgressReached(const std::string& err, int percent)
{
    static const std::regex progress("(Setting|Updating) ([0-9]+)%");
    for (auto it = std::sregex_iterator(err.begin(), err.end(), progress); it != std::sregex_iterator(); ++it) {
        if (std::stoi((*it)[2].str()) >= percent)
            return true;
    }
    return false;
}

namespace {

// `expected` with each {any} standing for any text.
bool LineMatches(const std::string& actual, const std::string& expected)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t any; (any = expected.find(kAnyText, from)) != std::string::npos; from = any + kAnyText.size())
        parts.push_back(expected.substr(from, any - from));
    parts.push_back(expected.substr(from));
    if (parts.size() == 1)
        return actual == expected;
    if (actual.size() < parts.front().size() + parts.back().size() || !actual.starts_with(parts.front())
        || !actual.ends_with(parts.back()))
        return false;
    std::size_t at = parts.front().size();
    const std::size_t end = actual.size() - parts.back().size();
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
        const std::size_t found = actual.find(parts[i], at);
        if (found == std::string::npos || found + parts[i].size() > end)
            return false;
        at = found + parts[i].size();
    }
    return true;
}

void CheckMessages(const Cell& cell, const Workspace& ws, const RunResult& run, std::vector<std::string>& problems)
{
    std::vector<std::string> actual = Messages(run.err);
    std::vector<std::string> expected;
    bool portFailure = false;
    for (const std::string& line : cell.err) {
        if (line == kPortFailure)
            portFailure = true;
        else
            expected.push_back(ws.Expand(line));
    }
    if (portFailure) {
        const auto it = std::find_if(actual.begin(), actual.end(), [&](const std::string& line) {
            return line.starts_with("kel-cli: ") && line.find(ws.port) != std::string::npos;
        });
        if (it == actual.end())
            problems.push_back("no line \"kel-cli: ...\" names the port that went away");
        else
            actual.erase(it);
    }
    const bool same =
        actual.size() == expected.size() && std::equal(actual.begin(), actual.end(), expected.begin(), LineMatches);
    if (!same)
        problems.push_back("standard error [" + Joined(actual, " | ") + "] instead of [" + Joined(expected, " | ")
                           + "]");
}

void CheckOutput(const Cell& cell, const Workspace& ws, const RunResult& run, std::vector<std::string>& problems)
{
    const std::vector<std::string> lines = Lines(run.out);
    for (const std::string& wanted : cell.out) {
        const std::string line = ws.Expand(wanted);
        if (std::find(lines.begin(), lines.end(), line) == lines.end())
            problems.push_back("standard output lacks \"" + line + "\"");
    }
}

CellResult RunCell(const Programs& programs, const std::string& shared, const Cell& cell, int marginMs)
{
    CellResult result{&cell, 0, {}};
    auto& problems = result.problems;
    Workspace ws{shared, MakeTempDir("kel-e2e-cell"), ""};
    if (ws.own.empty() || !WriteWholeFile(ws.own + "/old.cfg", kOldProfile)) {
        problems.push_back("cannot set up a working folder");
        return result;
    }
    std::vector<std::string> simArgs{"--verbose", "--report", ws.own + "/report.txt"};
    simArgs.insert(simArgs.end(), cell.sim.begin(), cell.sim.end());
    SimProcess sim(programs.sim, simArgs, ws.own + "/sim.log");
    ws.port = sim.Port();
    if (ws.port.empty()) {
        problems.push_back("kel-sim announced no terminal");
        return result;
    }
    auto runCli = [&](const std::vector<std::string>& args, int hardLimitMs, const SignalWhen& signal) {
        std::vector<std::string> all{"--port", ws.port};
        for (const std::string& a : args)
            all.push_back(ws.Expand(a));
        return RunProgram(programs.cli, all, hardLimitMs, signal);
    };
    const Cell::Interrupt& interrupt = cell.interrupt;
    const SignalWhen signal{interrupt.signal, [&](const std::string& err) {
                                return interrupt.atPercent < 0
                                           ? sim.Log().find(interrupt.simLogHas) != std::string::npos
                                           : ProgressReached(err, interrupt.atPercent);
                            }};
    const int boundMs = cell.waitsMs + marginMs;
    CellContext context{ws, runCli(cell.cli, boundMs + 10'000, signal), {}, nullptr};
    const RunResult& run = context.run;
    result.wallMs = run.wallMs;
    if (run.killed)
        problems.push_back("still running after " + std::to_string(run.wallMs) + " ms: killed");
    else if (run.exitCode != cell.exit)
        problems.push_back("exit " + std::to_string(run.exitCode) + " instead of " + std::to_string(cell.exit));
    CheckMessages(cell, ws, run, problems);
    CheckOutput(cell, ws, run, problems);
    const bool slow = run.wallMs >= boundMs;
    if (slow)
        problems.push_back("took " + std::to_string(run.wallMs) + " ms, not below " + std::to_string(cell.waitsMs)
                           + " ms of waits + " + std::to_string(marginMs) + " ms");

    // What the run sent, before any follow-up adds to the log; kel-sim logs
    // what it reads as it reads it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Traffic traffic(sim.Log());
    context.traffic = &traffic;
    context.followUp = [&](const std::vector<std::string>& args) { return runCli(args, 30'000, {}); };
    for (const std::string& check : cell.checks) {
        if (!ChecksReport(check)) {
            if (std::string what = Verify(check, context); !what.empty())
                problems.push_back(what);
        }
    }
    sim.Stop();
    const SimReport report(ReadWholeFile(ws.own + "/report.txt"));
    context.report = &report;
    for (const std::string& check : cell.checks) {
        if (ChecksReport(check)) {
            if (std::string what = Verify(check, context); !what.empty())
                problems.push_back(what);
        }
    }
    result.onlySlow = slow && problems.size() == 1;
    if (!problems.empty())
        problems.push_back("kel-cli said:\n" + run.out + run.err);
    if (problems.empty())
        std::filesystem::remove_all(ws.own);
    else
        problems.push_back("its files and kel-sim's byte log are kept in " + ws.own);
    return result;
}

}  // namespace

std::string MakeSampleFiles(const Programs& programs, const std::string& folder)
{
    const std::pair<std::string, std::vector<std::string>> samples[] = {
        {"sample.zrv", {"--write-zrv", folder + "/sample.zrv", "--size", "1024"}},
        {"small.zrv", {"--write-zrv", folder + "/small.zrv", "--size", "128"}},
        {"sample.xup", {"--write-xup", folder + "/sample.xup", "--size", "1024"}},
    };
    for (const auto& [name, args] : samples) {
        const RunResult r = RunProgram(programs.sim, args, 10'000);
        if (r.exitCode != 0)
            return "kel-sim could not write " + name + ": " + r.err;
    }
    // One block that states 16 bytes and brings 2.
    if (!WriteWholeFile(folder + "/damaged.xup", "0010AABB"))
        return "cannot write damaged.xup";
    // The sample with a-f for A-F: each digit read as 0 spoils a record.
    std::string lower = ReadWholeFile(folder + "/sample.zrv");
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'F' ? c + 32 : c; });
    if (!WriteWholeFile(folder + "/lower.zrv", lower))
        return "cannot write lower.zrv";
    if (::mkfifo((folder + "/fifo.zrv").c_str(), 0600) != 0)
        return "cannot make fifo.zrv";
    return {};
}

int CalibrateMargin(const Programs& programs, int jobs, int openMs)
{
    constexpr int kMinOverhead = 200;
    constexpr int kMarginSlack = 400;
    std::vector<std::int64_t> overheads(static_cast<std::size_t>(std::max(1, jobs)), 0);
    std::vector<std::thread> threads;
    for (std::size_t j = 0; j < overheads.size(); ++j) {
        threads.emplace_back([&, j] {
            const std::string folder = MakeTempDir("kel-e2e-calibrate");
            SimProcess sim(programs.sim, {}, folder + "/sim.log");
            const RunResult run = RunProgram(programs.cli, {"--port", sim.Port(), "detect", "--as", "box"}, 30'000);
            overheads[j] = run.wallMs - openMs;
            sim.Stop();
            std::filesystem::remove_all(folder);
        });
    }
    for (std::thread& t : threads)
        t.join();
    const std::int64_t slowest = *std::max_element(overheads.begin(), overheads.end());
    return static_cast<int>(2 * std::max<std::int64_t>(slowest, kMinOverhead)) + kMarginSlack;
}

std::vector<CellResult> RunCells(const Programs& programs, const std::string& shared, const std::vector<Cell>& cells,
                                 int jobs, int marginMs)
{
    // Longest first, so the slow cells do not trail at the end.
    std::vector<std::size_t> order(cells.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return cells[a].waitsMs > cells[b].waitsMs; });
    std::vector<CellResult> results(cells.size());
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i; (i = next++) < order.size();) {
            CellResult& result = results[order[i]];
            result = RunCell(programs, shared, cells[order[i]], marginMs);
            if (result.onlySlow) {
                result = RunCell(programs, shared, cells[order[i]], marginMs);
                result.runs = 2;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int j = 0; j < std::max(1, jobs); ++j)
        threads.emplace_back(worker);
    for (std::thread& t : threads)
        t.join();
    return results;
}

}  // namespace kel::e2e
