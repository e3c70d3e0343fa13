// The exports on a real pseudo-terminal, through the shared library: what
// only POSIX shows. The cases Windows runs as well are in test_exports_shared.cpp.

#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace zrntest;

namespace {

TEST_F(LinkExports, OpenFailureThenSuccess) {
    const struct {
        std::string definition;
    } failing[] = {{"/dev/zrn-no-such-port:9600,N,8,1"},
                   {""},
                   {":"},
                   {":9600,N,8,1"},
                   {"/dev/null:9600,N,8,1"}};
    for (const auto& f : failing) {
        EXPECT_EQ(fnZrnOpen(window.Handle(), f.definition.c_str()), 0) << f.definition;
        EXPECT_NE(debug.Text().find("ZrnOpen " + f.definition + " Failed\n"), std::string::npos);
    }
    EXPECT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    EXPECT_NE(debug.Text().find("ZrnOpen " + line.Definition() + " Passed\n"), std::string::npos);
    fnZrnSend("C");
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
}

// What the new window is told: test_exports_shared.cpp.
TEST_F(LinkExports, OpenTwiceKeepsOneWorker) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    EXPECT_EQ(WorkerCount(), 1);
    RecordingWindow second;
    ASSERT_EQ(fnZrnOpen(second.Handle(), line.Definition().c_str()), 1);
    EXPECT_EQ(WorkerCount(), 1);
}

termios DeviceSide(const Pty& line) {
    termios tio{};
    tcgetattr(line.Slave(), &tio);
    return tio;
}

TEST_F(LinkExports, LineSettingsAreAppliedOrTheOldOnesKept) {
    termios tio = DeviceSide(line);
    cfsetspeed(&tio, B19200);
    tcsetattr(line.Slave(), TCSANOW, &tio);

    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition("9600,X,8,1").c_str()), 1);
    EXPECT_EQ(cfgetospeed(&(tio = DeviceSide(line))), B19200);
    fnZrnClose();

    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition("2400,e,7,2").c_str()), 1);
    tio = DeviceSide(line);
    EXPECT_EQ(cfgetospeed(&tio), B2400);
    // A pseudo-terminal keeps 8 bits without parity; the stop bits show.
    EXPECT_EQ(tio.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
}

TEST_F(LinkExports, CloseStopsTheWorkerAndTheNextOpenWorks) {
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    fnZrnClose();
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    fnZrnSend("C");
    // One worker only: the frame arrives once.
    EXPECT_EQ(line.ReadUntilCrs(1), Frame("C"));
    EXPECT_EQ(line.ReadUntilCrs(1, 100ms), "");
}

// Exclusive use is only enforced on callers without CAP_SYS_ADMIN, so the
// checks run in a child that gives it up.
bool DropSysAdmin() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    data[CAP_SYS_ADMIN / 32].effective &= ~(1u << (CAP_SYS_ADMIN % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

template <typename Check> int InUnprivilegedChild(Check check) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(DropSysAdmin() ? check() : 99);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LinkExports, BusyPortFailsAndAClosedPortReopensAtOnce) {
    const std::string definition = line.Definition();
    ASSERT_EQ(::ioctl(line.Slave(), TIOCEXCL), 0);
    EXPECT_EQ(InUnprivilegedChild([&] { return fnZrnOpen(window.Handle(), definition.c_str()); }),
              0);
    EXPECT_NE(debug.Text().find("ZrnOpen " + definition + " Failed\n"), std::string::npos);
    ASSERT_EQ(::ioctl(line.Slave(), TIOCNXCL), 0);

    // Close really lets go of the port: the next open, straight after, is not
    // refused as busy, however often.
    EXPECT_EQ(InUnprivilegedChild([&] {
                  for (int i = 0; i < 200; ++i) {
                      fnZrnClose();
                      if (fnZrnOpen(window.Handle(), definition.c_str()) != 1)
                          return 1;
                  }
                  return 0;
              }),
              0);
}

// The port is held with a lock that goes with the process: while the link
// has it, another program's lock is refused; a program killed while holding
// it leaves the port free, a pseudo-terminal included.
TEST_F(LinkExports, AHeldPortIsLockedAndAKilledHolderFreesIt) {
    const std::string definition = line.Definition();
    const std::string device = definition.substr(0, definition.find(':'));
    // The children first: the link starts threads there, which a fork of a
    // process with threads of its own does not allow under ThreadSanitizer.
    const int killed = InUnprivilegedChild([&] {
        if (fnZrnOpen(window.Handle(), definition.c_str()) != 1)
            return 1;
        ::raise(SIGKILL);
        return 2;
    });
    EXPECT_EQ(killed, -1); // ended by the signal
    EXPECT_EQ(InUnprivilegedChild(
                  [&] { return fnZrnOpen(window.Handle(), definition.c_str()) == 1 ? 0 : 1; }),
              0);

    ASSERT_EQ(fnZrnOpen(window.Handle(), definition.c_str()), 1);
    const int other = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    fnZrnClose();
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);
}

TEST_F(LinkExports, OnlyTheHeadersFunctionsAreExported) {
    // Checked by name lookup in the loaded library; internals stay hidden.
    EXPECT_NE(dlsym(RTLD_DEFAULT, "fnZrnOpen"), nullptr);
    EXPECT_NE(dlsym(RTLD_DEFAULT, "fnZrnOpenLink"), nullptr);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "_ZN3zrn7TheLinkEv"), nullptr);
}

} // namespace
