#include "SimProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zrnsim {

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args,
                       const std::string& errorPath) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    out_.reset(pipeFds[0]);
    zrn::UniqueFd writeEnd(pipeFds[1]);

    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    if (!errorPath.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // The child must not inherit a blocked mask from a test thread.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    if (::posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    writeEnd.reset(); // so that the child's exit reads as end of file
    if (pid_ > 0)
        path_ = ReadLine(std::chrono::seconds(10)).value_or("");
}

SimProcess::~SimProcess() {
    if (pid_ <= 0)
        return;
    Signal(SIGTERM);
    if (Wait(std::chrono::seconds(5)) == -1 && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::optional<std::string> SimProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const auto newline = buffered_.find('\n'); newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd in{out_.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
        char chunk[256];
        const ssize_t n = ::read(out_.get(), chunk, sizeof chunk);
        if (n <= 0)
            return std::nullopt;
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
}

void SimProcess::Signal(int signal) const {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

int SimProcess::Wait(std::chrono::milliseconds timeout) {
    int status = 0;
    const bool exited =
        WaitFor([&] { return pid_ <= 0 || ::waitpid(pid_, &status, WNOHANG) == pid_; }, timeout);
    if (!exited)
        return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace zrnsim
