#pragma once
#include <cstdio>
#include <functional>
#include <string>

#include "TracingDevice.h"

namespace kel {

// kel-cli --trace and kel --trace: the exchange log appended to a file as it
// happens, one write per read or write of the link, so a crash loses nothing.
class TraceFile final : public TraceSink {
public:
    using Warn = std::function<void(const std::string& message)>;

    // `program` names the run line that starts this run's part of the file.
    TraceFile(std::string path, std::string program, Warn warn);
    ~TraceFile() override;
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Opens the file for appending; false with the reason in Error().
    bool Open();
    const std::string& Error() const { return error_; }

    void Record(const TraceByte* bytes, std::size_t count, ExchangeName::Current exchange) override;

private:
    std::string path_;
    std::string program_;
    Warn warn_;
    std::FILE* file_ = nullptr;
    std::string error_;
    TraceWriter writer_;
    std::string lines_;
    bool started_ = false;
    bool failed_ = false;
};

}  // namespace kel
