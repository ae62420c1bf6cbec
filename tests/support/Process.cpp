#include "Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kel::test {

namespace {

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Starts path with its standard output on `out`, its standard error on `err`
// and nothing to read.
pid_t Spawn(const std::string& path, std::vector<std::string> args, int out, int err)
{
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(out);
    close(err);
    return pid;
}

// Moves what is readable from fd into text; false once the writer closed it.
bool Drain(int fd, std::string& text)
{
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN));
}

// The first line readable from fd, "" when none comes within timeoutMs.
std::string ReadLine(int fd, int timeoutMs)
{
    std::string line;
    for (const std::int64_t end = NowMs() + timeoutMs; NowMs() < end;) {
        pollfd p{fd, POLLIN, 0};
        char c;
        if (poll(&p, 1, 50) <= 0)
            continue;
        if (read(fd, &c, 1) != 1)
            break;
        if (c == '\n')
            return line;
        line += c;
    }
    return {};
}

}  // namespace

RunResult RunProgram(const std::string& path, const std::vector<std::string>& args, int hardLimitMs,
                     const SignalWhen& signal)
{
    RunResult result;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return result;
    const std::int64_t start = NowMs();
    const pid_t pid = Spawn(path, args, out[1], err[1]);
    bool outOpen = true, errOpen = true, signalPending = signal.signal != 0;
    std::int64_t signalledAt = 0;
    while (pid > 0 && (outOpen || errOpen)) {
        const std::int64_t left = start + hardLimitMs - NowMs();
        if (left <= 0 && !result.killed)
            result.killed = kill(pid, SIGKILL) == 0;
        if (signalPending && signal.when(result.err)) {
            signalledAt = NowMs();
            kill(pid, signal.signal);
            signalPending = false;
        }
        pollfd fds[2] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
        if (poll(fds, 2, signalPending ? 5 : static_cast<int>(std::max<std::int64_t>(left, 50))) <= 0)
            continue;
        if (fds[0].revents)
            outOpen = Drain(out[0], result.out);
        if (fds[1].revents)
            errOpen = Drain(err[0], result.err);
    }
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
    result.wallMs = NowMs() - start;
    if (signalledAt > 0)
        result.signalToExitMs = NowMs() - signalledAt;
    close(out[0]);
    close(err[0]);
    if (pid > 0 && WIFEXITED(status) && !result.killed)
        result.exitCode = WEXITSTATUS(status);
    return result;
}

SimProcess::SimProcess(const std::string& path, std::vector<std::string> args, const std::string& logFile)
    : logFile_(logFile)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    pid_ = Spawn(path, std::move(args), out[1], open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    out_ = out[0];
    port_ = ReadLine(out_, 5000);
}

SimProcess::~SimProcess()
{
    Stop();
    if (out_ >= 0)
        close(out_);
}

void SimProcess::Stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file << bytes << std::flush);
}

std::string MakeTempDir(const std::string& stem)
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + stem + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : "";
}

}  // namespace kel::test
