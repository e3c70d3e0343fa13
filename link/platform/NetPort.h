#pragma once
// A network gateway as the link's port: a TCP connection, and for RFC 2217
// the telnet negotiation that sets the gateway's line to the link's settings.

#include "LinkError.h"
#include "PortName.h"
#include "Rfc2217.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include "UniqueSocket.h"
#else
#include "UniqueFd.h"
#endif

namespace zrn {

#ifdef _WIN32
using NetSocket = UniqueSocket;
#else
using NetSocket = UniqueFd;
#endif

struct NetConnection {
    NetSocket socket;                     // non-blocking, no Nagle, keepalive on
    std::unique_ptr<TelnetClient> telnet; // RFC 2217 only, negotiated
};

// What a read from an RFC 2217 gateway brought, less the gateway's telnet
// talk, moved to the front of `data`; the count left. The answers owed to the
// gateway go to `answer`, for the caller to write at once: a few bytes of
// option answers, which a full send buffer may lose, as it would lose nothing
// the device needs.
std::size_t UnwrapTelnet(TelnetClient& telnet, unsigned char* data, std::size_t count,
                         const std::function<void(const std::string&)>& answer);

// The port definition an open names; nothing, with `error` saying why, when it
// names no port.
std::optional<PortDefinition> ParsePortDefinition(std::string_view definition, LinkError& error);

// Connects to `port.network` and, for RFC 2217, negotiates within the same
// time-out. Nothing, with `error` set, when that fails.
std::optional<NetConnection> ConnectGateway(const PortDefinition& port, LinkError& error);

} // namespace zrn
