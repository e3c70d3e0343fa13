// The connect and the RFC 2217 negotiation, for both systems; their socket
// calls are in NetPortPosix.cpp and NetPortWin.cpp.

#include "NetSystem.h" // first: winsock2.h before windows.h

#include "DebugOutput.h"

#include <cstring>

namespace zrn {
namespace {

using net::Clock;

std::string SecondsText(std::chrono::milliseconds timeout) {
    const auto ms = timeout.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

LinkError ConnectError(int err, const PortDefinition& port) {
    if (err == net::kRefused)
        return MakeError(ZRN_ERROR_REFUSED, port.name,
                         "connection refused (is the gateway running, and is the port right?)");
    if (err == net::kTimedOut)
        return MakeError(ZRN_ERROR_TIMED_OUT, port.name,
                         "no connection within " + SecondsText(port.network->timeout));
    return MakeError(ZRN_ERROR_SYSTEM, port.name, net::ErrorText(err));
}

// One address: connected, or invalid with `err` set.
NetSocket ConnectOne(const addrinfo& address, Clock::time_point deadline, int& err) {
    NetSocket socket = net::OpenSocket(address);
    if (!socket.valid()) {
        err = net::LastError();
        return {};
    }
    err = net::BeginConnect(socket, address);
    if (err == net::kInProgress)
        err = net::WaitFor(socket, net::Want::Connected, deadline) ? net::ConnectResult(socket)
                                                                   : net::kTimedOut;
    if (err != 0)
        return {};
    net::Tune(socket);
    return socket;
}

bool IsUnknownHost(int status) {
    return status == EAI_NONAME || status == EAI_AGAIN || status == EAI_FAIL
#ifdef EAI_NODATA
           || status == EAI_NODATA
#endif
        ;
}

std::optional<NetSocket> Connect(const PortDefinition& port, Clock::time_point deadline,
                                 LinkError& error) {
    if (!net::StartNetworking()) {
        error = MakeError(ZRN_ERROR_SYSTEM, port.name,
                          "no network: " + net::ErrorText(net::LastError()));
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int status =
        ::getaddrinfo(port.network->host.c_str(), port.network->service.c_str(), &hints, &found);
    if (status != 0) {
        const bool unknown = IsUnknownHost(status);
        error = MakeError(unknown ? ZRN_ERROR_UNKNOWN_HOST : ZRN_ERROR_SYSTEM, port.name,
                          unknown ? "unknown host \"" + port.network->host + "\""
                                  : net::ResolverText(status));
        return std::nullopt;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> addresses(found, ::freeaddrinfo);
    int err = net::kRefused;
    // Each address in the resolver's order, all within the one time-out.
    for (const addrinfo* a = addresses.get(); a != nullptr; a = a->ai_next) {
        NetSocket socket = ConnectOne(*a, deadline, err);
        if (socket.valid())
            return socket;
        if (err == net::kTimedOut)
            break;
    }
    error = ConnectError(err, port);
    return std::nullopt;
}

bool SendAll(const NetSocket& socket, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const long n = net::Send(socket, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        const int err = n < 0 ? net::LastError() : 0;
        if (err == net::kWouldBlock) {
            if (!net::WaitFor(socket, net::Want::Writable, deadline))
                return false;
        } else if (err != net::kInterrupted) {
            return false;
        }
    }
    return true;
}

// Until the gateway has answered every setting; data it sends meanwhile is
// stale, from before anyone asked, and is dropped.
bool Negotiate(const NetSocket& socket, TelnetClient& telnet, const PortDefinition& port,
               Clock::time_point deadline, LinkError& error) {
    if (!SendAll(socket, telnet.Start(), deadline)) {
        error = MakeError(ZRN_ERROR_LOST, port.name, "the gateway closed the connection");
        return false;
    }
    char chunk[512];
    while (telnet.Status() == TelnetClient::State::Negotiating) {
        if (!net::WaitFor(socket, net::Want::Readable, deadline)) {
            error = MakeError(ZRN_ERROR_TIMED_OUT, port.name,
                              "the gateway did not finish the RFC 2217 negotiation within " +
                                  SecondsText(port.network->timeout));
            return false;
        }
        const long n = net::Receive(socket, chunk, sizeof chunk);
        if (n < 0) {
            const int err = net::LastError();
            if (err == net::kWouldBlock || err == net::kInterrupted)
                continue;
        }
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
        if (!reply.empty() && !SendAll(socket, reply, deadline)) {
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

std::size_t UnwrapTelnet(TelnetClient& telnet, unsigned char* data, std::size_t count,
                         const std::function<void(const std::string&)>& answer) {
    std::string bytes;
    std::string reply;
    telnet.Feed(std::string_view(reinterpret_cast<const char*>(data), count), bytes, reply);
    std::memcpy(data, bytes.data(), bytes.size());
    if (!reply.empty())
        answer(reply);
    return bytes.size();
}

std::optional<NetConnection> ConnectGateway(const PortDefinition& port, LinkError& error) {
    const auto deadline = Clock::now() + port.network->timeout;
    std::optional<NetSocket> socket = Connect(port, deadline, error);
    if (!socket)
        return std::nullopt;
    NetConnection connection{std::move(*socket), nullptr};
    if (port.network->protocol == NetworkAddress::Protocol::Rfc2217) {
        connection.telnet = std::make_unique<TelnetClient>();
        if (!Negotiate(connection.socket, *connection.telnet, port, deadline, error))
            return std::nullopt;
    }
    return connection;
}

std::optional<PortDefinition> ParsePortDefinition(std::string_view definition, LinkError& error) {
    std::string problem;
    std::optional<PortDefinition> parsed = ParsePortDefinition(definition, problem);
    if (!parsed)
        error = MakeError(ZRN_ERROR_BAD_NAME, definition, problem);
    return parsed;
}

} // namespace zrn
