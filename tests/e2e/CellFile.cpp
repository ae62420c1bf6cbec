// Reads fault-matrix.cells (its head says the format).
#include <cctype>
#include <csignal>
#include <fstream>
#include <set>
#include <sstream>

#include "FaultCell.h"

namespace kel::e2e {

namespace {

// Words split at spaces; "..." keeps its spaces.
std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}

}  // namespace

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
            if (term == "+")
                continue;
            const std::size_t star = term.find('*');
            const int factor = star == std::string::npos ? 1 : std::stoi(term.substr(0, star));
            const std::string name = star == std::string::npos ? term : term.substr(star + 1);
            if (std::isdigit(static_cast<unsigned char>(name[0])))
                total += factor * std::stoi(name);
            else if (file.waits.contains(name))
                total += factor * file.waits[name];
            else
                error = "no wait named " + name;
        }
        return total;
    };
    int lineNumber = 0;
    for (std::string line; file.error.empty() && std::getline(in, line);) {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        const std::vector<std::string> words = Words(rest);
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
            cell->row = row;
            cell->column = rest;
            cell->cli = rowCli;
        } else if (key == "cli" && !cell) {
            rowCli = words;
        } else if (!cell) {
            error = key + " outside a cell";
        } else if (key == "sim") {
            cell->sim = words;
        } else if (key == "cli") {
            cell->cli = words;
        } else if (key == "exit") {
            cell->exit = std::stoi(rest);
        } else if (key == "err") {
            cell->err.push_back(rest);
        } else if (key == "out") {
            cell->out.push_back(rest);
        } else if (key == "waits") {
            cell->waitsMs = sum(rest, error);
        } else if (key == "check") {
            cell->checks.push_back(rest);
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
