#pragma once
// A loopback TCP socket standing in for a network gateway: one that listens,
// or one that is bound but does not, so that a connection is refused.

#include "UniqueFd.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>

namespace zrntest {

class Loopback {
public:
    explicit Loopback(bool listening) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            (listening && ::listen(fd_.get(), 4) != 0))
            fd_.reset();
        ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }

    bool Valid() const { return fd_.valid() && port_ != 0; }
    std::string Url() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

    // The next connection, or an invalid one after the time-out.
    zrn::UniqueFd Accept(std::chrono::milliseconds timeout) const {
        if (!Readable(fd_.get(), timeout))
            return {};
        return zrn::UniqueFd(::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    }

    static bool Readable(int fd, std::chrono::milliseconds timeout) {
        pollfd entry{fd, POLLIN, 0};
        return ::poll(&entry, 1, static_cast<int>(timeout.count())) == 1;
    }

private:
    zrn::UniqueFd fd_;
    int port_ = 0;
};

} // namespace zrntest
