// Network ports of ZRNComDll.dll under wine (Winsock): a loopback listener of
// the test's own stands in for the gateway.

#include <winsock2.h> // before windows.h

#include "UniqueSocket.h"
#include "WinHarness.h"
#include "ZRNComDll.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

using namespace zrntest;

namespace {

struct HandleCloser {
    void operator()(ZrnLinkHandle* link) const { fnZrnCloseLink(link); }
};
using Handle = std::unique_ptr<ZrnLinkHandle, HandleCloser>;

Handle Open(const std::string& port, Recorder* recorder, ZrnOpenError* error) {
    return Handle(
        fnZrnOpenLink(port.c_str(), recorder ? &Recorder::Callback : nullptr, recorder, error));
}

SOCKET Raw(const zrn::UniqueSocket& socket) {
    return static_cast<SOCKET>(socket.get());
}

// Winsock for the test's own sockets, and a listener on a free loopback port.
class Listener {
public:
    Listener() {
        WSADATA data;
        started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        socket.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        EXPECT_EQ(::bind(Raw(socket), reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(Raw(socket), 4), 0);
        ::getsockname(Raw(socket), reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~Listener() {
        socket.reset();
        if (started)
            ::WSACleanup();
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    std::string Url(const std::string& scheme, const std::string& options = "") const {
        return scheme + "://127.0.0.1:" + std::to_string(port) + options;
    }
    // The link's connection; its reads give up after kWait.
    zrn::UniqueSocket Accept() const {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(Raw(socket), &ready);
        timeval bound{static_cast<long>(kWait.count()), 0};
        if (::select(0, &ready, nullptr, nullptr, &bound) != 1)
            return {};
        zrn::UniqueSocket peer(::accept(Raw(socket), nullptr, nullptr));
        const DWORD ms = static_cast<DWORD>(std::chrono::milliseconds(kWait).count());
        ::setsockopt(Raw(peer), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms),
                     sizeof ms);
        return peer;
    }
    void Stop() { socket.reset(); }

private:
    bool started = false;
    zrn::UniqueSocket socket;
    int port = 0;
};

void Send(const zrn::UniqueSocket& peer, const std::string& bytes) {
    ASSERT_EQ(::send(Raw(peer), bytes.data(), static_cast<int>(bytes.size()), 0),
              static_cast<int>(bytes.size()));
}

// Up to and with the first CR, or what came before the read timed out.
std::string ReadFrame(const zrn::UniqueSocket& peer) {
    std::string bytes;
    char c;
    while (bytes.find('\r') == std::string::npos && ::recv(Raw(peer), &c, 1, 0) == 1)
        bytes += c;
    return bytes;
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes)
        out += static_cast<char>(b);
    return out;
}

TEST(LinkNetWin, ARawGatewayCarriesFramesBothWaysAndItsEndIsToldOnce) {
    Listener gateway;
    Recorder told;
    ZrnOpenError error{};
    const Handle link = Open(gateway.Url("tcp"), &told, &error);
    ASSERT_TRUE(link) << error.message;
    zrn::UniqueSocket peer = gateway.Accept();
    ASSERT_TRUE(peer.valid());
    fnZrnSendLink(link.get(), "S1?");
    EXPECT_EQ(ReadFrame(peer), Frame("S1?"));
    Send(peer, "\x06" + Frame("S1A"));
    EXPECT_EQ(told.WaitFor(2), (std::vector<Notice>{{LINK_ACK, "S1?"}, {LINK_REPLY, "S1A"}}));
    peer.reset();
    const std::vector<Notice> notices = told.WaitFor(3);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[2], (Notice{LINK_LOST, "the gateway closed the connection"}));
    // Sending on a lost link is harmless, and nothing more is told.
    fnZrnSendLink(link.get(), "S1?");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(told.WaitFor(3).size(), 3u);
}

// The gateway's telnet talk never reaches the device's data, either way.
TEST(LinkNetWin, AnRfc2217GatewayNegotiatesAndItsTelnetTalkIsTakenOut) {
    constexpr int IAC = 255, SB = 250, SE = 240, WILL = 251, DO = 253, NOP = 241;
    constexpr int BINARY = 0, SGA = 3, COM = 44;
    Listener gateway;
    Recorder told;
    ZrnOpenError error{};
    std::string agreed =
        Bytes({IAC, DO, BINARY, IAC, WILL, BINARY, IAC, DO, SGA, IAC, WILL, SGA, IAC, DO, COM});
    // The answers to 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control.
    agreed += Bytes({IAC, SB, COM, 101, 0, 0, 0x25, 0x80, IAC, SE}) +
              Bytes({IAC, SB, COM, 102, 8, IAC, SE}) + Bytes({IAC, SB, COM, 103, 1, IAC, SE}) +
              Bytes({IAC, SB, COM, 104, 1, IAC, SE}) + Bytes({IAC, SB, COM, 105, 1, IAC, SE});
    // The open waits for the negotiation: the gateway answers meanwhile.
    zrn::UniqueSocket peer;
    std::thread answer([&] {
        peer = gateway.Accept();
        if (peer.valid())
            Send(peer, agreed);
    });
    Handle link = Open(gateway.Url("rfc2217"), &told, &error);
    answer.join();
    ASSERT_TRUE(link) << error.message;
    fnZrnSendLink(link.get(), "S1?");
    // What the link asked for, then its first frame as it was.
    const std::string asked = ReadFrame(peer);
    EXPECT_TRUE(asked.ends_with(Frame("S1?"))) << asked;
    // Telnet commands may come anywhere, also inside a frame.
    const std::string reply = Frame("S1A");
    Send(peer, Bytes({IAC, NOP}) + "\x06" + reply.substr(0, 2) +
                   Bytes({IAC, SB, COM, 107, 0x60, IAC, SE}) + reply.substr(2));
    EXPECT_EQ(told.WaitFor(2), (std::vector<Notice>{{LINK_ACK, "S1?"}, {LINK_REPLY, "S1A"}}));
    // Close ends the connection: the gateway frees its port for the next user.
    link.reset();
    char c;
    EXPECT_EQ(::recv(Raw(peer), &c, 1, 0), 0);
}

TEST(LinkNetWin, AFailedNetworkOpenSaysWhy) {
    Listener closed, silent;
    const std::string refused = closed.Url("tcp");
    closed.Stop();
    const struct {
        std::string port;
        int code;
    } cases[] = {
        {refused, ZRN_ERROR_REFUSED},
        {silent.Url("rfc2217", "?timeout=0.3"), ZRN_ERROR_TIMED_OUT},
        {"tcp://zrn-gateway.invalid:7000", ZRN_ERROR_UNKNOWN_HOST},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        ZrnOpenError error{};
        const auto began = std::chrono::steady_clock::now();
        EXPECT_FALSE(Open(c.port, nullptr, &error));
        EXPECT_LT(std::chrono::steady_clock::now() - began, kWait);
        EXPECT_EQ(error.code, c.code) << error.message;
        EXPECT_EQ(std::string(error.message).rfind(c.port.substr(0, c.port.find('?')), 0), 0u)
            << error.message;
    }
}

} // namespace
