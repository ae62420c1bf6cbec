// Reads fault-matrix.cells (its head says the format).
#include <cctype>
#include <csignal>
#include <fstream>
#include <iomanip>
#include <set>
#include <tuple>

#include "FaultCell.h"

namespace kel::e2e {

CellFile ReadCells(const std::string& path)
{
    CellFile file;
    std::ifstream in(path);
    if (!in)
        file.error = "cannot read " + path;
    std::set<std::string> columns;
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
        } else if (key == "column" && words.size() == 2) {
            file.columns.emplace_back(words[0], words[1]);
            columns.insert(words[0]);
        } else if (key == "row") {
            row = rest;
            rowCli.clear();
            cell = nullptr;
        } else if (key == "cell") {
            if (!columns.contains(rest))
                error = "no column " + rest;
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

}  // namespace kel::e2e
