// The exports on a real pseudo-terminal, through the shared library.

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

const std::string kAck = "\x06";
const std::string kNak = "\x15";

class LinkExports : public ::testing::Test {
protected:
    // A notification begun before close may still run: the window must live
    // until the worker has ended.
    void TearDown() override {
        fnZrnClose();
        EXPECT_TRUE(WaitForNoWorkers());
    }

    DebugCapture debug;
    Pty pty;
    RecordingWindow window;
};

TEST_F(LinkExports, CommandGoesOutAsTheDocumentedFrame) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    ASSERT_EQ(fnZrnSend("C"), 1);
    EXPECT_EQ(pty.ReadUntilCrs(1), std::string("\x02"
                                               "C\x03"
                                               "CA00\r"));
    ASSERT_EQ(fnZrnSend(""), 1);
    EXPECT_EQ(pty.ReadUntilCrs(1), Frame(""));
}

TEST_F(LinkExports, ThreeQueuedCommandsLeaveInOrderAndTheLastIsAcknowledged) {
    ASSERT_EQ(fnZrnSend("S0D"), 1);
    ASSERT_EQ(fnZrnSend("C|12/06/26|14:05:09|"), 1);
    ASSERT_EQ(fnZrnSend("S0A"), 1);
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    EXPECT_EQ(pty.ReadUntilCrs(3), Frame("S0D") + Frame("C|12/06/26|14:05:09|") + Frame("S0A"));
    ASSERT_TRUE(debug.WaitForLine("ZRNComDllThread pop'd S0A, depth = 0\n"));

    pty.Write(kAck);
    window.WaitFor(1);
    pty.Write(kAck);
    EXPECT_EQ(window.WaitFor(2),
              (std::vector<Notice>{{LINK_ACK, "S0A"}, {LINK_ACK, std::nullopt}}));

    const std::string traces = debug.Text();
    EXPECT_NE(traces.find("ZrnSend pushed S0D, depth = 1\n"
                          "ZrnSend pushed C|12/06/26|14:05:09|, depth = 2\n"
                          "ZrnSend pushed S0A, depth = 3\n"),
              std::string::npos);
    EXPECT_NE(traces.find("ZRNComDllThread pop'd S0D, depth = 2\n"), std::string::npos);
    EXPECT_NE(traces.find("ZRNComDllThread pop'd C|12/06/26|14:05:09|, depth = 1\n"),
              std::string::npos);
}

TEST_F(LinkExports, AckThenReplyAndNakAreReported) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    fnZrnSend("B");
    pty.ReadUntilCrs(1);
    debug.WaitForLine("ZRNComDllThread pop'd B");
    pty.Write(kAck + Frame("B|12.3|3.1"));
    window.WaitFor(2);
    fnZrnSend("F");
    pty.ReadUntilCrs(1);
    debug.WaitForLine("ZRNComDllThread pop'd F");
    // Refused: reported, and the reply behind it is not forwarded.
    pty.Write(kNak + Frame("F|2.0") + Frame("D|1"));
    EXPECT_EQ(
        window.WaitFor(4),
        (std::vector<Notice>{
            {LINK_ACK, "B"}, {LINK_REPLY, "B|12.3|3.1"}, {LINK_NAK, "F"}, {LINK_DATA, "D|1"}}));
}

TEST_F(LinkExports, QueuedCommandsAreDiscardedByCloseInOrder) {
    fnZrnSend("A");
    fnZrnSend("B");
    fnZrnSend("C");
    EXPECT_EQ(fnZrnClose(), 1);
    EXPECT_EQ(debug.Text(), "ZrnSend pushed A, depth = 1\n"
                            "ZrnSend pushed B, depth = 2\n"
                            "ZrnSend pushed C, depth = 3\n"
                            "ZrnClose pop'd A, depth = 2\n"
                            "ZrnClose pop'd B, depth = 1\n"
                            "ZrnClose pop'd C, depth = 0\n");
}

TEST_F(LinkExports, CloseOnAClosedLinkWritesNothing) {
    EXPECT_EQ(fnZrnClose(), 1);
    EXPECT_EQ(fnZrnClose(), 1);
    EXPECT_EQ(debug.Text(), "");
}

TEST_F(LinkExports, OpenFailureThenSuccess) {
    const struct {
        std::string definition;
    } failing[] = {{"/dev/zrn-no-such-port:9600,N,8,1"},
                   {""},
                   {":"},
                   {":9600,N,8,1"},
                   {"/dev/null:9600,N,8,1"}};
    for (const auto& f : failing) {
        EXPECT_EQ(fnZrnOpen(&window, f.definition.c_str()), 0) << f.definition;
        EXPECT_NE(debug.Text().find("ZrnOpen " + f.definition + " Failed\n"), std::string::npos);
    }
    EXPECT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    EXPECT_NE(debug.Text().find("ZrnOpen " + pty.Definition() + " Passed\n"), std::string::npos);
    fnZrnSend("C");
    EXPECT_EQ(pty.ReadUntilCrs(1), Frame("C"));
}

TEST_F(LinkExports, OpenTwiceKeepsOneWorkerAndTellsTheNewWindow) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    EXPECT_EQ(WorkerCount(), 1);
    RecordingWindow second;
    ASSERT_EQ(fnZrnOpen(&second, pty.Definition().c_str()), 1);
    EXPECT_EQ(WorkerCount(), 1);
    pty.Write(kAck);
    EXPECT_EQ(second.WaitFor(1), (std::vector<Notice>{{LINK_ACK, std::nullopt}}));
    EXPECT_TRUE(window.Notices().empty());
}

TEST_F(LinkExports, NoWindowMeansNoNotificationButTheLinkRuns) {
    ASSERT_EQ(fnZrnOpen(nullptr, pty.Definition().c_str()), 1);
    pty.Write(kAck + Frame("D|1"));
    fnZrnSend("C");
    EXPECT_EQ(pty.ReadUntilCrs(1), Frame("C"));
}

termios DeviceSide(const Pty& pty) {
    termios tio{};
    tcgetattr(pty.Slave(), &tio);
    return tio;
}

TEST_F(LinkExports, LineSettingsAreAppliedOrTheOldOnesKept) {
    termios tio = DeviceSide(pty);
    cfsetspeed(&tio, B19200);
    tcsetattr(pty.Slave(), TCSANOW, &tio);

    ASSERT_EQ(fnZrnOpen(&window, pty.Definition("9600,X,8,1").c_str()), 1);
    EXPECT_EQ(cfgetospeed(&(tio = DeviceSide(pty))), B19200);
    fnZrnClose();

    ASSERT_EQ(fnZrnOpen(&window, pty.Definition("2400,e,7,2").c_str()), 1);
    tio = DeviceSide(pty);
    EXPECT_EQ(cfgetospeed(&tio), B2400);
    // A pseudo-terminal keeps 8 bits without parity; the stop bits show.
    EXPECT_EQ(tio.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
}

TEST_F(LinkExports, CloseStopsTheWorkerAndTheNextOpenWorks) {
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    fnZrnClose();
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    fnZrnSend("C");
    // One worker only: the frame arrives once.
    EXPECT_EQ(pty.ReadUntilCrs(1), Frame("C"));
    EXPECT_EQ(pty.ReadUntilCrs(1, 100ms), "");
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
    const std::string definition = pty.Definition();
    ASSERT_EQ(::ioctl(pty.Slave(), TIOCEXCL), 0);
    EXPECT_EQ(InUnprivilegedChild([&] { return fnZrnOpen(&window, definition.c_str()); }), 0);
    EXPECT_NE(debug.Text().find("ZrnOpen " + definition + " Failed\n"), std::string::npos);
    ASSERT_EQ(::ioctl(pty.Slave(), TIOCNXCL), 0);

    // Close really lets go of the port: the next open, straight after, is not
    // refused as busy, however often.
    EXPECT_EQ(InUnprivilegedChild([&] {
                  for (int i = 0; i < 200; ++i) {
                      fnZrnClose();
                      if (fnZrnOpen(&window, definition.c_str()) != 1)
                          return 1;
                  }
                  return 0;
              }),
              0);
}

// The worker's own notification closes the link: close must not wait for the
// worker, or this never returns.
struct ClosingWindow : RecordingWindow {
    ClosingWindow() { sendMessage = &ClosingWindow::CloseThenRecord; }
    static intptr_t CloseThenRecord(ZrnWindow* self, unsigned msg, uintptr_t w, intptr_t l) {
        fnZrnClose();
        return Record(self, msg, w, l);
    }
};

// The port is held with a lock that goes with the process: while the link
// has it, another program's lock is refused; a program killed while holding
// it leaves the port free, a pseudo-terminal included.
TEST_F(LinkExports, AHeldPortIsLockedAndAKilledHolderFreesIt) {
    const std::string definition = pty.Definition();
    const std::string device = definition.substr(0, definition.find(':'));
    // The children first: the link starts threads there, which a fork of a
    // process with threads of its own does not allow under ThreadSanitizer.
    const int killed = InUnprivilegedChild([&] {
        if (fnZrnOpen(&window, definition.c_str()) != 1)
            return 1;
        ::raise(SIGKILL);
        return 2;
    });
    EXPECT_EQ(killed, -1); // ended by the signal
    EXPECT_EQ(
        InUnprivilegedChild([&] { return fnZrnOpen(&window, definition.c_str()) == 1 ? 0 : 1; }),
        0);

    ASSERT_EQ(fnZrnOpen(&window, definition.c_str()), 1);
    const int other = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    fnZrnClose();
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);
}

TEST_F(LinkExports, CloseFromInsideANotification) {
    ClosingWindow closing;
    ASSERT_EQ(fnZrnOpen(&closing, pty.Definition().c_str()), 1);
    pty.Write(kAck + kAck + Frame("D|1"));
    EXPECT_EQ(closing.WaitFor(1).size(), 1u);
    ASSERT_TRUE(WaitForNoWorkers());
    // Closed after the first: the rest of that read is told to nobody.
    EXPECT_EQ(closing.Notices().size(), 1u);
    ASSERT_EQ(fnZrnOpen(&window, pty.Definition().c_str()), 1);
    pty.Write(kAck);
    EXPECT_EQ(window.WaitFor(1), (std::vector<Notice>{{LINK_ACK, std::nullopt}}));
}

TEST_F(LinkExports, OnlyTheFourFunctionsAreExported) {
    // Checked by name lookup in the loaded library; internals stay hidden.
    EXPECT_NE(dlsym(RTLD_DEFAULT, "fnZrnOpen"), nullptr);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "_ZN3zrn7TheLinkEv"), nullptr);
}

} // namespace
