#include "Platform.h"

#include "Model.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace zrnctl {
namespace {

// A file descriptor, closed with its owner.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        reset(std::exchange(other.fd_, -1));
        return *this;
    }
    ~Fd() { reset(); }
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

struct Copy {
    pid_t pid = -1;
    Fd out;
    std::string output;
};

std::string SelfPath() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string("zrnctl");
}

Copy Start(const std::string& program, const std::vector<std::string>& arguments) {
    Copy copy;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return copy;
    copy.out.reset(fds[0]);
    Fd writeEnd(fds[1]);
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    if (::posix_spawn(&copy.pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        copy.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return copy; // our write end closes here, so the copy's exit reads as the end
}

// Reads every copy's output until each one has closed it.
void Drain(std::vector<Copy>& copies) {
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<Copy*> owners;
        for (Copy& copy : copies)
            if (copy.out) {
                fds.push_back({copy.out.get(), POLLIN, 0});
                owners.push_back(&copy);
            }
        if (fds.empty())
            return;
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents == 0)
                continue;
            char chunk[4096];
            const ssize_t n = ::read(fds[i].fd, chunk, sizeof chunk);
            if (n > 0)
                owners[i]->output.append(chunk, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
                owners[i]->out.reset();
        }
    }
}

int Reap(pid_t pid) {
    int status = 0;
    pid_t done;
    do
        done = ::waitpid(pid, &status, 0);
    while (done < 0 && errno == EINTR);
    return done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::vector<CopyRun> RunCopies(const std::vector<std::vector<std::string>>& argumentLists) {
    const std::string self = SelfPath();
    std::vector<Copy> copies;
    for (const auto& arguments : argumentLists)
        copies.push_back(Start(self, arguments));
    Drain(copies);
    std::vector<CopyRun> runs;
    for (Copy& copy : copies)
        runs.push_back({copy.pid > 0 ? Reap(copy.pid) : -1, std::move(copy.output)});
    return runs;
}

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

std::string PortOpenFailure(const std::string& port) {
    if (const std::optional<std::string> group = zrn::PermissionGroup(port))
        return zrn::PermissionHint(port, *group);
    struct stat info {};
    if (::stat(port.c_str(), &info) != 0)
        return "no such port";
    return "the port does not open (busy, or not a serial port)";
}

} // namespace zrnctl
