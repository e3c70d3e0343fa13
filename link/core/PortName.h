#pragma once
// What a port definition names: a local device, or a network gateway as
// "tcp://HOST:PORT" or "rfc2217://HOST:PORT", each followed by ":" and the
// line settings ("9600,N,8,1"). Pure text work, shared by the link and its
// callers.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace zrn {

struct NetworkAddress {
    enum class Protocol { Raw, Rfc2217 };
    Protocol protocol = Protocol::Raw;
    std::string host;    // without brackets
    std::string service; // the port number, as text
    std::chrono::milliseconds timeout{5000};
};

struct PortDefinition {
    std::string name;     // the port's name, as an error message names it
    std::string settings; // after the name's ":", possibly empty
    std::optional<NetworkAddress> network;
};

// `port` as part of a file name: every run of characters other than letters,
// digits, "-" and "." as one "_" ("rfc2217://gw:7000": "rfc2217_gw_7000").
std::string PortFileTag(std::string_view port);

// True for text that starts like a network port name ("tcp://", "rfc2217://",
// in any case).
bool IsNetworkPortName(std::string_view text);

// The definition split; for a network name that is not well formed, nothing,
// with `problem` saying why.
std::optional<PortDefinition> ParsePortDefinition(std::string_view definition,
                                                  std::string& problem);

} // namespace zrn
