#pragma once
// Network ports as the operator types them into the connect dialog, and the
// short list of those used last.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {

// What a refused name is told to look like.
inline constexpr char NETWORK_PORT_FORM[] =
    "tcp://host:port or rfc2217://host:port (port 1 to 65535), "
    "optionally followed by ?timeout=seconds";

// Why `name` is no network port the link can open (by the link's own reading
// of port names); nothing when it is one.
std::optional<std::string> NetworkPortProblem(std::string_view name);

inline constexpr std::size_t RECENT_PORTS_KEPT = 5;

// The port first, an earlier entry of the same name dropped (names compare
// without regard to case), at most RECENT_PORTS_KEPT.
std::vector<std::string> RememberPort(std::vector<std::string> recent, std::string_view port);

// A recent-ports file's text, forgivingly: one name a line, blanks around it
// ignored, lines that are no network port and repeats skipped, at most
// RECENT_PORTS_KEPT.
std::vector<std::string> ParseRecentPorts(std::string_view text);

} // namespace zrn
