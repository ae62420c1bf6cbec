#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ExchangeName.h"

namespace kel {

// The exchange log: every byte that passed the serial link, one line each,
// in the order the PC wrote or read them.
//
//   ## kel-cli 1.0.0, started 2026-12-06 04:50:00 UTC    a run: times start at 0 again
//   # read settings                                      the exchange the next bytes belong to
//      153 ms  > D8                                      a byte the PC wrote to the box
//      154 ms  < D8                                      a byte the PC read from the box
//
// Times are milliseconds since the run started: when a byte was handed to the
// port (>) or when the read that got it returned (<). Bytes the box sent that
// the PC never read (dropped by a purge) are not in the log. Blank lines and
// lines starting with '#' other than the two headers are comments.
struct TraceByte {
    std::int64_t ms = 0;
    std::uint8_t value = 0;
    bool fromPc = false;  // '>' PC to box, '<' box to PC

    friend bool operator==(const TraceByte&, const TraceByte&) = default;
};

std::string TraceByteLine(const TraceByte& byte);
std::string TraceExchangeLine(std::string_view name);
std::string TraceRunLine(std::string_view program);

// Turns bytes into lines, with an exchange line whenever the exchange changes.
class TraceWriter {
public:
    void Append(std::string& out, const TraceByte& byte, ExchangeName::Current exchange);

private:
    std::uint64_t lastSerial_ = ~std::uint64_t{0};
};

// A byte read back from a log, with the exchange it belongs to and its line.
struct TraceEntry {
    TraceByte byte;
    std::string exchange;
    int line = 0;
};

struct ParsedTrace {
    std::vector<TraceEntry> entries;
    std::string error;  // "line N: ..." for the first line that is not a trace line
};

ParsedTrace ParseTrace(std::string_view text);

}  // namespace kel
