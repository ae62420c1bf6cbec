#include "TraceFormat.h"

#include <cstdio>
#include <ctime>
#include <sstream>

namespace kel {

namespace {

const char* ExchangeOrOther(const char* name)
{
    return *name ? name : "other";
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "  153 ms  > D8" into byte; false when the line is anything else.
bool ParseByteLine(const std::string& line, TraceByte& byte)
{
    std::istringstream in(line);
    long long ms = -1;
    std::string unit, direction, hex, rest;
    if (!(in >> ms >> unit >> direction >> hex) || (in >> rest) || ms < 0 || unit != "ms")
        return false;
    if ((direction != ">" && direction != "<") || hex.size() != 2 || HexDigit(hex[0]) < 0 || HexDigit(hex[1]) < 0)
        return false;
    byte = {ms, static_cast<std::uint8_t>(HexDigit(hex[0]) * 16 + HexDigit(hex[1])), direction == ">"};
    return true;
}

}  // namespace

std::string TraceByteLine(const TraceByte& byte)
{
    char text[40];
    std::snprintf(text, sizeof text, "%6lld ms  %c %02X\n", static_cast<long long>(byte.ms), byte.fromPc ? '>' : '<',
                  byte.value);
    return text;
}

std::string TraceExchangeLine(std::string_view name)
{
    return "# " + std::string(name) + "\n";
}

std::string TraceRunLine(std::string_view program)
{
    char when[40] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", utc);
    return "## " + std::string(program) + ", started " + when + "\n";
}

void TraceWriter::Append(std::string& out, const TraceByte& byte, ExchangeName::Current exchange)
{
    if (exchange.serial != lastSerial_) {
        out += TraceExchangeLine(ExchangeOrOther(exchange.name));
        lastSerial_ = exchange.serial;
    }
    out += TraceByteLine(byte);
}

ParsedTrace ParseTrace(std::string_view text)
{
    ParsedTrace parsed;
    std::string exchange = "other";
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line.rfind("##", 0) == 0)
            continue;
        if (line.rfind("# ", 0) == 0) {
            exchange = line.substr(2);
            continue;
        }
        if (line[0] == '#')
            continue;
        TraceEntry entry{{}, exchange, number};
        if (!ParseByteLine(line, entry.byte)) {
            parsed.error = "line " + std::to_string(number) + ": not a byte of the exchange log: \"" + line + "\"";
            return parsed;
        }
        parsed.entries.push_back(std::move(entry));
    }
    return parsed;
}

}  // namespace kel
