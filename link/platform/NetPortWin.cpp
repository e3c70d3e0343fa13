// The socket calls of NetSystem.h on Windows (Winsock 2).

#include "NetSystem.h"

#include <mstcpip.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <type_traits>

namespace zrn {

static_assert(std::is_same_v<SOCKET, SocketTraits::Value>);
static_assert(INVALID_SOCKET == SocketTraits::None());

void SocketTraits::Close(Value socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

namespace net {
namespace {

SOCKET Raw(const NetSocket& socket) {
    return static_cast<SOCKET>(socket.get());
}

int Clamped(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

} // namespace

bool StartNetworking() {
    // Once per process, and never undone: the library may be unloaded while
    // a closed link's worker still has a socket call to finish.
    static const int status = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (status != 0)
        ::WSASetLastError(status);
    return status == 0;
}

int LastError() {
    return ::WSAGetLastError();
}

std::string ErrorText(int err) {
    char text[256] = {};
    const DWORD n =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(err), 0, text, sizeof text, nullptr);
    std::string sentence(text, n);
    while (!sentence.empty() &&
           (std::isspace(static_cast<unsigned char>(sentence.back())) || sentence.back() == '.'))
        sentence.pop_back();
    const std::string number = "error " + std::to_string(err);
    return sentence.empty() ? number : sentence + " (" + number + ")";
}

std::string ResolverText(int status) {
    return ErrorText(status); // getaddrinfo's codes are Winsock's
}

NetSocket OpenSocket(const addrinfo& address) {
    NetSocket socket(::WSASocketW(address.ai_family, address.ai_socktype, address.ai_protocol,
                                  nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT));
    u_long nonBlocking = 1;
    if (socket.valid() && ::ioctlsocket(Raw(socket), FIONBIO, &nonBlocking) != 0) {
        const int err = ::WSAGetLastError();
        socket.reset();
        ::WSASetLastError(err);
    }
    return socket;
}

int BeginConnect(const NetSocket& socket, const addrinfo& address) {
    if (::connect(Raw(socket), address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0)
        return 0;
    return ::WSAGetLastError(); // WSAEWOULDBLOCK, kInProgress, while under way
}

int ConnectResult(const NetSocket& socket) {
    int err = 0;
    int length = sizeof err;
    if (::getsockopt(Raw(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &length) !=
        0)
        return ::WSAGetLastError();
    return err;
}

void Tune(const NetSocket& socket) {
    const BOOL on = TRUE;
    ::setsockopt(Raw(socket), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                 sizeof on);
    ::setsockopt(Raw(socket), SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on),
                 sizeof on);
    // The first probe after 10 s of quiet, then every 5 s; Windows sends 10.
    tcp_keepalive keepalive{1, 10000, 5000};
    DWORD returned = 0;
    ::WSAIoctl(Raw(socket), SIO_KEEPALIVE_VALS, &keepalive, sizeof keepalive, nullptr, 0, &returned,
               nullptr, nullptr);
}

bool WaitFor(const NetSocket& socket, Want want, Clock::time_point deadline) {
    // select rather than WSAPoll: WSAPoll of older Windows never reports a
    // refused connect. A failed connect shows in the exception set.
    for (;;) {
        fd_set ready, failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(Raw(socket), &ready);
        FD_SET(Raw(socket), &failed);
        const auto left = std::clamp<long long>(
            std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now()).count(), 0,
            60'000'000);
        timeval timeout{static_cast<long>(left / 1'000'000), static_cast<long>(left % 1'000'000)};
        const int n = ::select(0, want == Want::Readable ? &ready : nullptr,
                               want == Want::Readable ? nullptr : &ready,
                               want == Want::Connected ? &failed : nullptr, &timeout);
        if (n > 0)
            return true;
        if (n < 0 || Clock::now() >= deadline)
            return false;
    }
}

long Send(const NetSocket& socket, const char* data, std::size_t size) {
    return ::send(Raw(socket), data, Clamped(size), 0);
}

long Receive(const NetSocket& socket, char* data, std::size_t size) {
    return ::recv(Raw(socket), data, Clamped(size), 0);
}

} // namespace net
} // namespace zrn
