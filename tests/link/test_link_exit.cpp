// A program that ends with the link open ends cleanly.

#include "LogName.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

TEST(LinkExit, ProcessEndingWithTheLinkOpenExitsCleanly) {
    const std::string helper = *zrn::ProgramDirectory() + "link_exit_helper";
    char errors[] = "/tmp/zrn-exit-XXXXXX";
    const int errorFile = ::mkstemp(errors);
    ASSERT_GE(errorFile, 0);
    ::unlink(errors);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errorFile, STDERR_FILENO);
    char* argv[] = {const_cast<char*>(helper.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, helper.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    // A hang shows as a time-out rather than a stuck test run.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    ASSERT_GE(pidfd, 0);
    pollfd p{pidfd, POLLIN, 0};
    const bool ended = ::poll(&p, 1, 30000) == 1;
    if (!ended)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(pidfd);

    std::string output(8192, '\0');
    output.resize(static_cast<std::size_t>(
        std::max<ssize_t>(0, ::pread(errorFile, output.data(), output.size(), 0))));
    ::close(errorFile);

    ASSERT_TRUE(ended) << "hung at exit";
    ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status) << "\n" << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
}

} // namespace
