// Link handles: many links in one process, each with its own callback, and an
// open that says why it failed. Black-box, through the shared library.

#include "LinkHarness.h"
#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zrntest;

namespace {

struct HandleCloser {
    void operator()(ZrnLinkHandle* link) const { fnZrnCloseLink(link); }
};
using Handle = std::unique_ptr<ZrnLinkHandle, HandleCloser>;

Handle Open(const std::string& port, Recorder* recorder, ZrnOpenError* error = nullptr) {
    return Handle(
        fnZrnOpenLink(port.c_str(), recorder ? &Recorder::Callback : nullptr, recorder, error));
}

// A loopback listener on a free port, standing in for a gateway.
class Listener {
public:
    Listener() : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(fd.get(), 4), 0);
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    std::string Url(const std::string& scheme, const std::string& options = "") const {
        return scheme + "://127.0.0.1:" + std::to_string(port) + options;
    }
    zrn::UniqueFd Accept() const {
        return zrn::UniqueFd(::accept4(fd.get(), nullptr, nullptr, SOCK_CLOEXEC));
    }
    void Stop() { fd.reset(); }

private:
    zrn::UniqueFd fd;
    int port = 0;
};

std::string ReadFrame(int fd) {
    std::string bytes;
    char c;
    while (bytes.find('\r') == std::string::npos && ::read(fd, &c, 1) == 1)
        bytes += c;
    return bytes;
}

TEST(LinkHandles, TwoPortsAtOnceEachTellOnlyTheirOwnCaller) {
    Pty first, second;
    Recorder toldFirst, toldSecond;
    const Handle a = Open(first.SlavePath(), &toldFirst);
    const Handle b = Open(second.SlavePath(), &toldSecond);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(fnZrnSendLink(a.get(), "A"), 1);
    ASSERT_EQ(fnZrnSendLink(b.get(), "B"), 1);
    EXPECT_EQ(first.ReadUntilCrs(1), Frame("A"));
    EXPECT_EQ(second.ReadUntilCrs(1), Frame("B"));
    first.Write("\x06" + Frame("A3"));
    second.Write("\x15");
    EXPECT_EQ(toldFirst.WaitFor(2), (std::vector<Notice>{{LINK_ACK, "A"}, {LINK_REPLY, "A3"}}));
    EXPECT_EQ(toldSecond.WaitFor(1), (std::vector<Notice>{{LINK_NAK, "B"}}));
}

// The default link and a handle side by side do not see each other.
TEST(LinkHandles, TheFourFunctionsKeepTheirOwnLink) {
    Pty first, second;
    RecordingWindow window;
    Recorder told;
    ASSERT_EQ(fnZrnOpen(window.Handle(), first.Definition().c_str()), 1);
    const Handle b = Open(second.Definition(), &told);
    ASSERT_TRUE(b);
    fnZrnSend("X");
    EXPECT_EQ(first.ReadUntilCrs(1), Frame("X"));
    first.Write("\x06");
    EXPECT_EQ(window.WaitFor(1), (std::vector<Notice>{{LINK_ACK, "X"}}));
    EXPECT_TRUE(told.WaitFor(0).empty());
    fnZrnClose();
}

struct OpenCase {
    std::string port;
    int code;
};

TEST(LinkHandles, AFailedOpenSaysWhyAndNamesThePort) {
    Pty busy;
    const Handle holder = Open(busy.SlavePath(), nullptr);
    ASSERT_TRUE(holder);
    Listener closed;
    const std::string refused = closed.Url("tcp");
    closed.Stop();
    const std::vector<OpenCase> cases = {
        {"/dev/zrn-no-such-port", ZRN_ERROR_NO_SUCH_PORT},
        {"/dev/null", ZRN_ERROR_NOT_SERIAL},
        {busy.SlavePath(), ZRN_ERROR_BUSY},
        {"", ZRN_ERROR_BAD_NAME},
        {"tcp://127.0.0.1", ZRN_ERROR_BAD_NAME},
        {"tcp://127.0.0.1:0", ZRN_ERROR_BAD_NAME},
        {"rfc2217://127.0.0.1:65536", ZRN_ERROR_BAD_NAME},
        {"rfc2217://[::1:7000", ZRN_ERROR_BAD_NAME},
        {"tcp://127.0.0.1:7000?speed=9600", ZRN_ERROR_BAD_NAME},
        {refused, ZRN_ERROR_REFUSED},
        {"tcp://zrn-gateway.invalid:7000", ZRN_ERROR_UNKNOWN_HOST},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.port);
        ZrnOpenError error{};
        EXPECT_FALSE(Open(c.port, nullptr, &error));
        EXPECT_EQ(error.code, c.code) << error.message;
        EXPECT_EQ(std::string(error.message).rfind(c.port.substr(0, c.port.find('?')), 0), 0u)
            << error.message;
        EXPECT_STRNE(fnZrnErrorName(c.code), "unknown error");
    }
}

TEST(LinkHandles, TheDefaultLinkSaysWhyItsLastOpenFailed) {
    RecordingWindow window;
    ZrnOpenError error{};
    ASSERT_EQ(fnZrnOpen(window.Handle(), "/dev/zrn-no-such-port:9600,N,8,1"), 0);
    EXPECT_EQ(fnZrnOpenError(&error), ZRN_ERROR_NO_SUCH_PORT);
    EXPECT_STREQ(error.message, "/dev/zrn-no-such-port: no such port");
    Pty line;
    ASSERT_EQ(fnZrnOpen(window.Handle(), line.Definition().c_str()), 1);
    EXPECT_EQ(fnZrnOpenError(nullptr), ZRN_OK);
    fnZrnClose();
}

// A raw gateway carries frames both ways unchanged, and its end is told once.
TEST(LinkHandles, ARawGatewayCarriesFramesAndItsEndIsToldOnce) {
    Listener gateway;
    Recorder told;
    zrn::UniqueFd far;
    const Handle link = Open(gateway.Url("tcp"), &told);
    ASSERT_TRUE(link);
    far = gateway.Accept();
    ASSERT_TRUE(far.valid());
    fnZrnSendLink(link.get(), "S1?");
    EXPECT_EQ(ReadFrame(far.get()), Frame("S1?"));
    const std::string answer = "\x06" + Frame("S1A");
    ASSERT_EQ(::write(far.get(), answer.data(), answer.size()),
              static_cast<ssize_t>(answer.size()));
    EXPECT_EQ(told.WaitFor(2), (std::vector<Notice>{{LINK_ACK, "S1?"}, {LINK_REPLY, "S1A"}}));
    far.reset();
    const std::vector<Notice> notices = told.WaitFor(3);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[2].wParam, static_cast<uintptr_t>(LINK_LOST));
    // Sending on a lost link is harmless, and nothing more is told.
    fnZrnSendLink(link.get(), "S1?");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(told.WaitFor(3).size(), 3u);
}

// An answer the network delays past the idle read still belongs to its own
// command: the next one waits for it.
TEST(LinkHandles, OverANetworkTheNextCommandWaitsForTheAnswerToTheLast) {
    Listener gateway;
    Recorder told;
    const Handle link = Open(gateway.Url("tcp"), &told);
    ASSERT_TRUE(link);
    const zrn::UniqueFd far = gateway.Accept();
    fnZrnSendLink(link.get(), "A");
    fnZrnSendLink(link.get(), "B");
    EXPECT_EQ(ReadFrame(far.get()), Frame("A"));
    pollfd more{far.get(), POLLIN, 0};
    EXPECT_EQ(::poll(&more, 1, 150), 0) << "B went out before A was answered";
    ASSERT_EQ(::write(far.get(), "\x06", 1), 1);
    EXPECT_EQ(ReadFrame(far.get()), Frame("B"));
    ASSERT_EQ(::write(far.get(), "\x06", 1), 1);
    EXPECT_EQ(told.WaitFor(2), (std::vector<Notice>{{LINK_ACK, "A"}, {LINK_ACK, "B"}}));
}

TEST(LinkHandles, AGatewayThatNeverNegotiatesTimesOut) {
    Listener silent;
    ZrnOpenError error{};
    const auto began = std::chrono::steady_clock::now();
    EXPECT_FALSE(Open(silent.Url("rfc2217", "?timeout=0.3"), nullptr, &error));
    EXPECT_EQ(error.code, ZRN_ERROR_TIMED_OUT) << error.message;
    EXPECT_LT(std::chrono::steady_clock::now() - began, kWait);
}

// A gateway that agrees to the COM port option but keeps its line at
// 115200 baud: the open fails and says what was asked and what came back.
TEST(LinkHandles, AGatewayThatRefusesTheBaudRateIsAnErrorNamingIt) {
    Listener gateway;
    std::thread server([&] {
        const zrn::UniqueFd far = gateway.Accept();
        const unsigned char iac = 255, sb = 250, se = 240, will = 251, doo = 253, comPort = 44;
        std::string greeting{static_cast<char>(iac),     static_cast<char>(doo),
                             static_cast<char>(comPort), static_cast<char>(iac),
                             static_cast<char>(will),    3};
        // The five answers: 115200 baud, then what was asked for the rest.
        const auto answer = [&](unsigned char code, std::string value) {
            return std::string{static_cast<char>(iac), static_cast<char>(sb),
                               static_cast<char>(comPort), static_cast<char>(code)} +
                   value + std::string{static_cast<char>(iac), static_cast<char>(se)};
        };
        greeting += answer(101, std::string("\x00\x01\xc2\x00", 4)) + answer(102, "\x08") +
                    answer(103, "\x01") + answer(104, "\x01") + answer(105, "\x01");
        (void)!::write(far.get(), greeting.data(), greeting.size());
        char sink[256];
        while (::read(far.get(), sink, sizeof sink) > 0) {
        }
    });
    ZrnOpenError error{};
    EXPECT_FALSE(Open(gateway.Url("rfc2217"), nullptr, &error));
    EXPECT_EQ(error.code, ZRN_ERROR_SETTING_REFUSED) << error.message;
    EXPECT_TRUE(std::string(error.message).find("9600") != std::string::npos) << error.message;
    EXPECT_TRUE(std::string(error.message).find("115200") != std::string::npos) << error.message;
    server.join();
}

// Close from another thread returns only after a callback under way has
// returned, so the caller may free what the callback uses.
TEST(LinkHandles, CloseWaitsForACallbackUnderWay) {
    Pty line;
    struct Slow {
        std::atomic<bool> inside{false};
        std::atomic<bool> finished{false};
        static void Callback(void* user, unsigned, const char*) {
            auto* self = static_cast<Slow*>(user);
            self->inside = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            self->finished = true;
        }
    } slow;
    ZrnLinkHandle* link = fnZrnOpenLink(line.SlavePath().c_str(), &Slow::Callback, &slow, nullptr);
    ASSERT_NE(link, nullptr);
    fnZrnSendLink(link, "A");
    line.ReadUntilCrs(1);
    line.Write("\x06");
    ASSERT_TRUE(WaitUntil([&] { return slow.inside.load(); }));
    fnZrnCloseLink(link);
    EXPECT_TRUE(slow.finished);
}

} // namespace
