#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ExitCodes.h"
#include "Json.h"

namespace kel::cli::output {

namespace {

struct State {
    bool json = false;
    bool objectPrinted = false;
    std::vector<std::string> reasons;
};

State& state()
{
    static State s;
    return s;
}

const char* WhatFailed(int status)
{
    switch (status) {
    case kExitDevice: return "the device exchange failed or nothing answered";
    case kExitUsage: return "wrong usage";
    case kExitFile: return "a file could not be read or has the wrong size or form";
    default: return "failed";
    }
}

std::string ErrorObject(int status)
{
    const std::vector<std::string>& reasons = state().reasons;
    std::string object =
        "{\"error\": {\"message\": " + JsonString(reasons.empty() ? WhatFailed(status) : reasons.back())
        + ", \"exit\": " + std::to_string(status) + ", \"messages\": [";
    for (std::size_t i = 0; i < reasons.size(); ++i)
        object += (i ? ", " : "") + JsonString(reasons[i]);
    return object + "]}}";
}

}  // namespace

void SetJson(bool json)
{
    state().json = json;
}

bool Json()
{
    return state().json;
}

void Complain(const std::string& text)
{
    std::fprintf(stderr, "kel-cli: %s\n", text.c_str());
    std::fflush(stderr);
    state().reasons.push_back(text);
}

void NoteReason(const std::string& line)
{
    state().reasons.push_back(line);
}

void PrintJson(const std::string& object)
{
    std::fputs(object.c_str(), stdout);
    std::fputc('\n', stdout);
    state().objectPrinted = true;
}

int Finish(int status)
{
    if (state().json && !state().objectPrinted && status != kExitDone)
        PrintJson(ErrorObject(status));
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        std::fprintf(stderr, "kel-cli: cannot write standard output%s%s\n", error ? ": " : "",
                     error ? std::strerror(error) : "");
        std::clearerr(stdout);
        return status == kExitDone ? kExitFile : status;
    }
    return status;
}

void Reset()
{
    state() = State{};
}

}  // namespace kel::cli::output
