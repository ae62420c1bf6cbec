#include "TraceFile.h"

#include <cerrno>
#include <cstring>

namespace kel {

TraceFile::TraceFile(std::string path, std::string program, Warn warn)
    : path_(std::move(path))
    , program_(std::move(program))
    , warn_(std::move(warn))
{}

TraceFile::~TraceFile()
{
    if (file_)
        std::fclose(file_);
}

bool TraceFile::Open()
{
    file_ = std::fopen(path_.c_str(), "ab");
    if (!file_)
        error_ = "cannot open the trace file " + path_ + ": " + std::strerror(errno);
    return file_ != nullptr;
}

void TraceFile::Record(const TraceByte* bytes, std::size_t count, ExchangeName::Current exchange)
{
    if (!file_ || failed_)
        return;
    lines_.clear();
    if (!started_) {
        lines_ = TraceRunLine(program_);
        started_ = true;
    }
    for (std::size_t i = 0; i < count; ++i)
        writer_.Append(lines_, bytes[i], exchange);
    // A full disk loses the log, never the exchange: say so once and go on.
    if (std::fwrite(lines_.data(), 1, lines_.size(), file_) != lines_.size() || std::fflush(file_) != 0) {
        failed_ = true;
        if (warn_)
            warn_("cannot write the trace file " + path_ + ": " + std::strerror(errno) + "; tracing stopped");
    }
}

}  // namespace kel
