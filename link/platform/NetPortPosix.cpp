// The socket calls of NetSystem.h on POSIX.

#include "NetSystem.h"

#include <algorithm>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>

namespace zrn::net {
namespace {

int MsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 60000));
}

} // namespace

bool StartNetworking() {
    return true;
}

int LastError() {
    return errno;
}

std::string ErrorText(int err) {
    return std::strerror(err);
}

std::string ResolverText(int status) {
    return ::gai_strerror(status);
}

NetSocket OpenSocket(const addrinfo& address) {
    return NetSocket(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              address.ai_protocol));
}

int BeginConnect(const NetSocket& socket, const addrinfo& address) {
    if (::connect(socket.get(), address.ai_addr, address.ai_addrlen) == 0)
        return 0;
    // Interrupted, the connect goes on by itself.
    return errno == EINTR ? EINPROGRESS : errno;
}

int ConnectResult(const NetSocket& socket) {
    int err = 0;
    socklen_t length = sizeof err;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &err, &length) != 0)
        return errno;
    return err;
}

void Tune(const NetSocket& socket) {
    const int fd = socket.get();
    const int on = 1, idle = 10, interval = 5, count = 3, userTimeout = 20000;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
}

bool WaitFor(const NetSocket& socket, Want want, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{socket.get(), static_cast<short>(want == Want::Readable ? POLLIN : POLLOUT),
                     0};
        const int n = ::poll(&entry, 1, MsUntil(deadline));
        if (n > 0)
            return true;
        if (n == 0 ? Clock::now() >= deadline : errno != EINTR)
            return false;
    }
}

long Send(const NetSocket& socket, const char* data, std::size_t size) {
    return ::send(socket.get(), data, size, MSG_NOSIGNAL);
}

long Receive(const NetSocket& socket, char* data, std::size_t size) {
    return ::recv(socket.get(), data, size, 0);
}

} // namespace zrn::net
