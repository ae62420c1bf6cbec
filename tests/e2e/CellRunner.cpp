// Runs the cells of the fault matrix and prints it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <numeric>
#include <optional>
#include <regex>
#include <sys/stat.h>
#include <thread>

#include "FaultCell.h"

namespace kel::e2e {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string all;
    for (const std::string& p : parts)
        all += (all.empty() ? "" : separator) + p;
    return all;
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
    static const std::regex progress("(Setting|Updating) [0-9]+%");
    std::vector<std::string> actual, expected;
    for (const std::string& line : Lines(run.err)) {
        if (!std::regex_match(line, progress))
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

CellResult RunCell(const Programs& programs, const std::string& shared, const Cell& cell, int marginMs)
{
    CellResult result{&cell, {}};
    auto& problems = result.problems;
    std::vector<std::string> simArgs{"--verbose"};
    simArgs.insert(simArgs.end(), cell.sim.begin(), cell.sim.end());
    SimSession sim(simArgs, programs);
    const Workspace ws{shared, sim.Folder(), sim.Port()};
    if (ws.own.empty() || ws.port.empty() || !WriteWholeFile(ws.own + "/old.cfg", kOldProfile)) {
        problems.push_back("cannot set up a working folder, or kel-sim announced no terminal");
        return result;
    }
    auto runCli = [&](const std::vector<std::string>& args, int hardLimitMs, const SignalWhen& signal) {
        std::vector<std::string> expanded;
        for (const std::string& a : args)
            expanded.push_back(ws.Expand(a));
        return sim.Cli(expanded, hardLimitMs, signal);
    };
    const Cell::Interrupt& interrupt = cell.interrupt;
    const SignalWhen signal{interrupt.signal, [&](const std::string& err) {
                                return interrupt.atPercent < 0
                                           ? sim.Log().find(interrupt.simLogHas) != std::string::npos
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
    context.simLog = sim.Log();
    context.followUp = [&](const std::vector<std::string>& args) { return runCli(args, 30'000, {}); };
    std::optional<SimReport> report;
    for (const bool afterStop : {false, true}) {
        if (afterStop)
            context.report = &report.emplace(sim.StopAndReport());
        for (const std::string& check : cell.checks) {
            if (std::string what = ChecksReport(check) == afterStop ? Verify(check, context) : ""; !what.empty())
                problems.push_back(what);
        }
    }
    result.onlySlow = slow && problems.size() == 1;
    if (!problems.empty()) {
        problems.push_back("kel-cli said:\n" + run.out + run.err);
        problems.push_back("its files and kel-sim's byte log are kept in " + ws.own);
        sim.keepFolder = true;
    }
    return result;
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

std::string MakeSampleFiles(const Programs& programs, const std::string& folder)
{
    for (const auto& [name, size] : {std::pair{"sample.zrv", "1024"}, {"small.zrv", "128"}, {"sample.xup", "1024"}}) {
        const std::string path = folder + "/" + name;
        const RunResult r = RunProgram(
            programs.sim, {path.ends_with(".zrv") ? "--write-zrv" : "--write-xup", path, "--size", size}, 10'000);
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

int CalibrateMargin(const Programs& programs, int jobs, int openMs)
{
    std::vector<std::int64_t> overheads(static_cast<std::size_t>(std::max(1, jobs)), 0);
    std::vector<std::thread> threads;
    for (std::size_t j = 0; j < overheads.size(); ++j) {
        threads.emplace_back([&, j] {
            SimSession sim({}, programs);
            overheads[j] = sim.Cli({"detect", "--as", "box"}, 30'000).wallMs - openMs;
        });
    }
    for (std::thread& t : threads)
        t.join();
    const std::int64_t slowest = *std::max_element(overheads.begin(), overheads.end());
    return static_cast<int>(2 * std::max<std::int64_t>(slowest, 200)) + 400;
}

std::vector<CellResult> RunCells(const Programs& programs, const std::string& shared, const std::vector<Cell>& cells,
                                 int jobs, int marginMs)
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
                result = RunCell(programs, shared, cells[order[i]], marginMs);
                if (result.onlySlow)
                    result = RunCell(programs, shared, cells[order[i]], marginMs);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    return results;
}

std::string Report(const CellFile& file, const std::vector<CellResult>& results)
{
    std::vector<std::string> rows;
    std::map<std::pair<std::string, std::string>, bool> passed;  // (row, column): all its cells passed
    for (const CellResult& r : results) {
        if (std::find(rows.begin(), rows.end(), r.cell->row) == rows.end())
            rows.push_back(r.cell->row);
        const auto key = std::make_pair(r.cell->row, r.cell->column);
        passed[key] = (!passed.contains(key) || passed[key]) && r.problems.empty();
    }
    std::string text = "\nFault matrix (+ passed, X failed, . does not apply)\n\n" + std::string(18, ' ');
    for (const auto& [kind, heading] : file.columns)
        text += heading + " ";
    for (const std::string& row : rows) {
        text += "\n" + row + std::string(row.size() < 18 ? 18 - row.size() : 1, ' ');
        for (const auto& [kind, heading] : file.columns) {
            const auto it = passed.find({row, kind});
            text += (it == passed.end() ? "." : it->second ? "+" : "X") + std::string(heading.size(), ' ');
        }
    }
    int failed = 0;
    for (const CellResult& r : results) {
        if (r.problems.empty())
            continue;
        ++failed;
        text += "\n\nFAILED " + r.cell->row + " / " + r.cell->column + " (kel-sim " + Joined(r.cell->sim, " ")
                + "; kel-cli " + Joined(r.cell->cli, " ") + "):\n  - " + Joined(r.problems, "\n  - ");
    }
    return text + "\n\n" + std::to_string(results.size() - failed) + " passed, " + std::to_string(failed) + " failed\n";
}

}  // namespace kel::e2e
