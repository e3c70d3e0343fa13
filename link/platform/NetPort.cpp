#include "NetPort.h"

#include "DebugOutput.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace zrn {
namespace {

using Clock = std::chrono::steady_clock;

int MsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

// POLLIN or POLLOUT on fd before the deadline; false when it passed.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int n = ::poll(&entry, 1, MsUntil(deadline));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

std::string SecondsText(std::chrono::milliseconds timeout) {
    const auto ms = timeout.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// A gateway that is gone should show within some 25 s even when the line is
// quiet, and a frame should not wait for more bytes to fill a packet.
void TuneSocket(int fd) {
    const int on = 1, idle = 10, interval = 5, count = 3, userTimeout = 20000;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
}

LinkError ConnectError(int err, const PortDefinition& port) {
    switch (err) {
    case ECONNREFUSED:
        return MakeError(ZRN_ERROR_REFUSED, port.name,
                         "connection refused (is the gateway running, and is the port right?)");
    case ETIMEDOUT:
        return MakeError(ZRN_ERROR_TIMED_OUT, port.name,
                         "no connection within " + SecondsText(port.network->timeout));
    default:
        return MakeError(ZRN_ERROR_SYSTEM, port.name, std::strerror(err));
    }
}

// One address: connected, or invalid with `err` set.
UniqueFd ConnectOne(const addrinfo& address, Clock::time_point deadline, int& err) {
    UniqueFd fd(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                         address.ai_protocol));
    if (!fd.valid()) {
        err = errno;
        return {};
    }
    if (::connect(fd.get(), address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS && errno != EINTR) {
            err = errno;
            return {};
        }
        if (!WaitFor(fd.get(), POLLOUT, deadline)) {
            err = ETIMEDOUT;
            return {};
        }
        socklen_t length = sizeof err;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &err, &length) != 0)
            err = errno;
        if (err != 0)
            return {};
    }
    TuneSocket(fd.get());
    return fd;
}

std::optional<UniqueFd> Connect(const PortDefinition& port, Clock::time_point deadline,
                                LinkError& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int status =
        ::getaddrinfo(port.network->host.c_str(), port.network->service.c_str(), &hints, &found);
    if (status != 0) {
        const bool unknown = status == EAI_NONAME || status == EAI_AGAIN || status == EAI_FAIL
#ifdef EAI_NODATA
                             || status == EAI_NODATA
#endif
            ;
        error = MakeError(unknown ? ZRN_ERROR_UNKNOWN_HOST : ZRN_ERROR_SYSTEM, port.name,
                          unknown ? "unknown host \"" + port.network->host + "\""
                                  : std::string(::gai_strerror(status)));
        return std::nullopt;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> addresses(found, ::freeaddrinfo);
    int err = ECONNREFUSED;
    // Each address in the resolver's order, all within the one time-out.
    for (const addrinfo* a = addresses.get(); a != nullptr; a = a->ai_next) {
        UniqueFd fd = ConnectOne(*a, deadline, err);
        if (fd.valid())
            return fd;
        if (err == ETIMEDOUT)
            break;
    }
    error = ConnectError(err, port);
    return std::nullopt;
}

bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0)
            bytes.remove_prefix(static_cast<std::size_t>(n));
        else if (n < 0 && errno == EAGAIN) {
            if (!WaitFor(fd, POLLOUT, deadline))
                return false;
        } else if (!(n < 0 && errno == EINTR))
            return false;
    }
    return true;
}

// Until the gateway has answered every setting; data it sends meanwhile is
// stale, from before anyone asked, and is dropped.
bool Negotiate(int fd, TelnetClient& telnet, const PortDefinition& port, Clock::time_point deadline,
               LinkError& error) {
    if (!SendAll(fd, telnet.Start(), deadline)) {
        error = MakeError(ZRN_ERROR_LOST, port.name, "the gateway closed the connection");
        return false;
    }
    char chunk[512];
    while (telnet.Status() == TelnetClient::State::Negotiating) {
        if (!WaitFor(fd, POLLIN, deadline)) {
            error = MakeError(ZRN_ERROR_TIMED_OUT, port.name,
                              "the gateway did not finish the RFC 2217 negotiation within " +
                                  SecondsText(port.network->timeout));
            return false;
        }
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0) {
            error = MakeError(ZRN_ERROR_LOST, port.name,
                              "the gateway closed the connection during the RFC 2217 negotiation");
            return false;
        }
        std::string data, reply;
        telnet.Feed(std::string_view(chunk, static_cast<std::size_t>(n)), data, reply);
        if (!data.empty())
            DebugTrace("ZrnOpen dropped %d bytes from before the negotiation\n",
                       static_cast<int>(data.size()));
        if (!reply.empty() && !SendAll(fd, reply, deadline)) {
            error = MakeError(ZRN_ERROR_LOST, port.name, "the gateway closed the connection");
            return false;
        }
    }
    if (telnet.Status() == TelnetClient::State::Refused) {
        error = MakeError(telnet.SettingRefused() ? ZRN_ERROR_SETTING_REFUSED : ZRN_ERROR_PROTOCOL,
                          port.name, telnet.Problem());
        return false;
    }
    return true;
}

} // namespace

std::optional<NetConnection> ConnectGateway(const PortDefinition& port, LinkError& error) {
    const auto deadline = Clock::now() + port.network->timeout;
    std::optional<UniqueFd> fd = Connect(port, deadline, error);
    if (!fd)
        return std::nullopt;
    NetConnection connection{std::move(*fd), nullptr};
    if (port.network->protocol == NetworkAddress::Protocol::Rfc2217) {
        connection.telnet = std::make_unique<TelnetClient>();
        if (!Negotiate(connection.socket.get(), *connection.telnet, port, deadline, error))
            return std::nullopt;
    }
    return connection;
}

} // namespace zrn
