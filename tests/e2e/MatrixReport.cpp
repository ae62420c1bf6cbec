// The printed fault matrix.
#include <algorithm>
#include <cstdio>
#include <map>

#include "CellRunner.h"

namespace kel::e2e {

namespace {

const char* const kPass = "\u2713";  // ✓
const char* const kFail = "\u2717";  // ✗
const char* const kNone = "\u2013";  // –

enum class Verdict { Passed, Failed };

Verdict Of(const CellResult& r)
{
    return r.problems.empty() ? Verdict::Passed : Verdict::Failed;
}

std::string Padded(const std::string& text, std::size_t width, std::size_t shown)
{
    return text + std::string(width > shown ? width - shown : 0, ' ');
}

std::string Args(const std::vector<std::string>& args)
{
    std::string all;
    for (const std::string& a : args)
        all += (all.empty() ? "" : " ") + a;
    return all;
}

}  // namespace

std::string Report(const CellFile& file, const std::vector<CellResult>& results, int marginMs)
{
    std::vector<std::string> rows;
    std::map<std::pair<std::string, std::string>, Verdict> verdict;  // (row, column) → the worst of its cells
    for (const CellResult& r : results) {
        if (std::find(rows.begin(), rows.end(), r.cell->row) == rows.end())
            rows.push_back(r.cell->row);
        const auto key = std::make_pair(r.cell->row, r.cell->column);
        verdict[key] = verdict.contains(key) ? std::max(verdict[key], Of(r)) : Of(r);
    }

    std::size_t rowWidth = 9;
    for (const std::string& row : rows)
        rowWidth = std::max(rowWidth, row.size() + 2);
    std::string text = "\nFault matrix: kel-cli against kel-sim over a pseudo-terminal (" + std::string(kPass)
                       + " passed, " + kFail + " failed, " + kNone + " does not apply)\n\n";
    text += Padded("exchange", rowWidth, 8);
    for (const auto& [key, heading] : file.columns)
        text += Padded(heading, heading.size() + 2, heading.size());
    text += "\n";
    for (const std::string& row : rows) {
        text += Padded(row, rowWidth, row.size());
        for (const auto& [key, heading] : file.columns) {
            const auto it = verdict.find({row, key});
            const char* mark = it == verdict.end() ? kNone : it->second == Verdict::Passed ? kPass : kFail;
            text += Padded(mark, heading.size() + 2, 1);
        }
        text += "\n";
    }
    text += "\ncolumns:";
    for (const auto& [key, heading] : file.columns)
        text += " " + heading + "=" + key;
    text += "\n\ncells (wall time of kel-cli against the bound: its own waits + " + std::to_string(marginMs)
            + " ms, measured):\n";
    int passed = 0, failed = 0;
    for (const CellResult& r : results) {
        const Verdict v = Of(r);
        ++(v == Verdict::Passed ? passed : failed);
        char line[512];
        std::snprintf(line, sizeof line, "%s %-16s %-18s %-40s %6lld ms < %6d ms%s\n",
                      v == Verdict::Passed ? kPass : kFail, r.cell->row.c_str(), r.cell->column.c_str(),
                      Args(r.cell->sim).c_str(), static_cast<long long>(r.wallMs), r.cell->waitsMs + marginMs,
                      r.runs > 1 ? "  (second run: the first was slow)" : "");
        text += line;
    }
    for (const CellResult& r : results) {
        if (r.problems.empty())
            continue;
        text += std::string("\nFAILED ") + r.cell->row + " / " + r.cell->column + " (kel-sim " + Args(r.cell->sim)
                + "; kel-cli " + Args(r.cell->cli) + "):\n";
        for (const std::string& p : r.problems)
            text += "  - " + p + "\n";
    }
    text += "\n" + std::to_string(passed) + " passed, " + std::to_string(failed) + " failed\n";
    return text;
}

}  // namespace kel::e2e
