#include "ports/NetworkPort.h"

#include "PortName.h"
#include "base/Text.h"

#include <algorithm>
#include <cctype>

namespace zrn {

std::optional<std::string> NetworkPortProblem(std::string_view name) {
    if (!IsNetworkPortName(name))
        return "it does not begin with tcp:// or rfc2217://";
    std::string problem;
    const std::optional<PortDefinition> parsed = ParsePortDefinition(name, problem);
    if (!parsed)
        return problem;
    // Line settings belong to the program, not to the typed name.
    if (parsed->name.size() != name.size())
        return "nothing may follow the port number but ?timeout=seconds";
    return std::nullopt;
}

std::vector<std::string> RememberPort(std::vector<std::string> recent, std::string_view port) {
    std::erase_if(recent, [port](const std::string& seen) { return EqualsIgnoreCase(seen, port); });
    recent.insert(recent.begin(), std::string(port));
    if (recent.size() > RECENT_PORTS_KEPT)
        recent.resize(RECENT_PORTS_KEPT);
    return recent;
}

std::vector<std::string> ParseRecentPorts(std::string_view text) {
    std::vector<std::string> ports;
    for (const std::string_view line : SplitNonEmpty(text, '\n')) {
        const std::string_view name = TrimBlanks(line);
        if (NetworkPortProblem(name))
            continue;
        const bool repeated = std::any_of(ports.begin(), ports.end(), [name](const auto& seen) {
            return EqualsIgnoreCase(seen, name);
        });
        if (repeated)
            continue;
        ports.emplace_back(name);
        if (ports.size() == RECENT_PORTS_KEPT)
            break;
    }
    return ports;
}

} // namespace zrn
