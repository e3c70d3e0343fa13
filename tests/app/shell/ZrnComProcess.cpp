#include "ZrnComProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zrntest {

namespace fs = std::filesystem;

ZrnComProcess::ZrnComProcess(const ZrnComRun& run, std::optional<std::pair<uid_t, gid_t>> runAs) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    // Everything the child needs is built before fork: only async-signal-safe calls after it.
    std::vector<std::string> argStore{run.program};
    argStore.insert(argStore.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (auto& arg : argStore)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    for (const char* keep : {"PATH", "HOME", "LANG", "LC_ALL", "LC_TIME", "TZ", "XDG_RUNTIME_DIR"})
        if (const char* value = std::getenv(keep))
            envStore.push_back(std::string(keep) + "=" + value);
    for (const auto& [name, value] : run.env)
        envStore.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& entry : envStore)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(fds[1], STDERR_FILENO);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        if (runAs && (::setgroups(0, nullptr) != 0 || ::setgid(runAs->second) != 0 ||
                      ::setuid(runAs->first) != 0))
            ::_exit(126);
        if (!run.workDir.empty() && ::chdir(run.workDir.c_str()) != 0)
            ::_exit(127);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
        ::close(fds[0]);
        return;
    }
    out_ = fds[0];
}

ZrnComProcess::~ZrnComProcess() {
    Stop();
}

bool ZrnComProcess::Pump(Clock::time_point deadline) {
    if (out_ < 0)
        return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd pfd{out_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, static_cast<int>(std::max<long>(0, left.count())));
    if (ready <= 0)
        return ready == 0 || errno == EINTR;
    char buffer[4096];
    const ssize_t got = ::read(out_, buffer, sizeof buffer);
    if (got <= 0)
        return got < 0 && errno == EINTR;
    const auto now = Clock::now();
    partial_.append(buffer, static_cast<std::size_t>(got));
    std::size_t end;
    while ((end = partial_.find('\n')) != std::string::npos) {
        std::string text = partial_.substr(0, end);
        partial_.erase(0, end + 1);
        while (!text.empty() && text.back() == '\r')
            text.pop_back();
        lines_.push_back({std::move(text), now});
    }
    return true;
}

std::optional<std::size_t> ZrnComProcess::WaitFor(std::string_view piece,
                                                  std::chrono::milliseconds timeout,
                                                  std::size_t from) {
    const auto deadline = Clock::now() + timeout;
    for (std::size_t i = from;;) {
        for (; i < lines_.size(); ++i)
            if (lines_[i].text.find(piece) != std::string::npos)
                return i;
        if (Clock::now() >= deadline || !Pump(deadline))
            return std::nullopt;
    }
}

void ZrnComProcess::ReadFor(std::chrono::milliseconds duration) {
    const auto deadline = Clock::now() + duration;
    while (Clock::now() < deadline && Pump(deadline)) {
    }
}

std::optional<struct rusage> ZrnComProcess::Stop() {
    if (pid_ <= 0)
        return std::nullopt;
    ::kill(pid_, SIGTERM);
    struct rusage usage {};
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    pid_t done = 0;
    while ((done = ::wait4(pid_, &status, WNOHANG, &usage)) == 0 && Clock::now() < deadline)
        Pump(Clock::now() + std::chrono::milliseconds(20)); // keep the pipe drained meanwhile
    if (done == 0) {
        ::kill(pid_, SIGKILL);
        done = ::wait4(pid_, &status, 0, &usage);
    }
    pid_ = -1;
    if (out_ >= 0)
        ::close(out_);
    out_ = -1;
    if (done <= 0)
        return std::nullopt;
    return usage;
}

std::set<std::string> TrafficLogs(const std::string& program) {
    std::set<std::string> logs;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(program).parent_path(), ec))
        if (entry.path().extension() == ".LOG")
            logs.insert(entry.path().string());
    return logs;
}

std::vector<std::string> ReadLogLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace zrntest
