#pragma once
// A network gateway as the link's port: a TCP connection, and for RFC 2217
// the telnet negotiation that sets the gateway's line to the link's settings.

#include "LinkError.h"
#include "PortName.h"
#include "Rfc2217.h"

#include <memory>
#include <optional>
#include <string>

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
// gateway go to `reply`, for the caller to write at once.
std::size_t UnwrapTelnet(TelnetClient& telnet, unsigned char* data, std::size_t count,
                         std::string& reply);

// Connects to `port.network` and, for RFC 2217, negotiates within the same
// time-out. Nothing, with `error` set, when that fails.
std::optional<NetConnection> ConnectGateway(const PortDefinition& port, LinkError& error);

} // namespace zrn
