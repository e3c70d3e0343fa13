#include "Platform.h"

#include "Copies.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zrnctl {

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
    zrn::UniqueFd writeEnd(fds[1]);
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

void ReadOutputs(std::vector<Copy>& copies) {
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

int Wait(Copy& copy) {
    if (copy.pid <= 0)
        return -1;
    int status = 0;
    pid_t done;
    do
        done = ::waitpid(copy.pid, &status, 0);
    while (done < 0 && errno == EINTR);
    return done == copy.pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace zrnctl
