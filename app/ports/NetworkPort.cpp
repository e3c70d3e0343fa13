#include "ports/NetworkPort.h"

#include "base/Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zrn {

namespace {

bool IsDigit(char ch) {
    return std::isdigit(static_cast<unsigned char>(ch)) != 0;
}

bool AllOf(std::string_view text, bool (*test)(char)) {
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

// Digits only, no sign or blanks; nullopt when empty or beyond int.
std::optional<int> Number(std::string_view text) {
    if (!AllOf(text, IsDigit))
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool IsIpv4(std::string_view text) {
    const std::vector<std::string_view> parts = SplitNonEmpty(text, '.');
    if (parts.size() != 4 || std::count(text.begin(), text.end(), '.') != 3)
        return false;
    return std::all_of(parts.begin(), parts.end(), [](std::string_view part) {
        const auto value = Number(part);
        return part.size() <= 3 && value && *value <= 255;
    });
}

// Groups of one to four hex digits; the last may be an IPv4 address (two groups).
std::optional<int> Ipv6Groups(std::string_view text, bool mayEndInIpv4) {
    if (text.empty())
        return 0;
    int groups = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = text.find(':', start);
        const std::string_view group = text.substr(start, colon - start);
        if (colon == std::string_view::npos && mayEndInIpv4 && IsIpv4(group))
            return groups + 2;
        const bool hex = AllOf(
            group, [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)) != 0; });
        if (!hex || group.size() > 4)
            return std::nullopt;
        ++groups;
        if (colon == std::string_view::npos)
            return groups;
        start = colon + 1;
    }
}

bool IsIpv6(std::string_view text) {
    const std::size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        const auto groups = Ipv6Groups(text, true);
        return groups == 8;
    }
    if (text.find("::", gap + 1) != std::string_view::npos)
        return false;
    const auto head = Ipv6Groups(text.substr(0, gap), false);
    const auto tail = Ipv6Groups(text.substr(gap + 2), true);
    return head && tail && *head + *tail <= 7;
}

bool IsHostName(std::string_view text) {
    // All digits and dots reads as an address, and must be a whole one.
    if (AllOf(text, [](char ch) { return IsDigit(ch) || ch == '.'; }))
        return IsIpv4(text);
    if (text.size() > 253 || text.front() == '.' || text.back() == '.' ||
        text.find("..") != std::string_view::npos)
        return false;
    for (const std::string_view label : SplitNonEmpty(text, '.')) {
        const bool letters = AllOf(label, [](char ch) {
            return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '-';
        });
        if (!letters || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
    }
    return true;
}

} // namespace

std::optional<NetworkPort> ParseNetworkPort(std::string_view name) {
    const std::size_t separator = name.find("://");
    if (separator == std::string_view::npos)
        return std::nullopt;
    NetworkPort parsed;
    parsed.scheme = name.substr(0, separator);
    if (parsed.scheme != "tcp" && parsed.scheme != "rfc2217")
        return std::nullopt;
    std::string_view rest = name.substr(separator + 3);

    if (const std::size_t query = rest.find('?'); query != std::string_view::npos) {
        constexpr std::string_view kTimeout = "timeout=";
        const std::string_view option = rest.substr(query + 1);
        if (!option.starts_with(kTimeout))
            return std::nullopt;
        parsed.timeoutSeconds = Number(option.substr(kTimeout.size()));
        if (!parsed.timeoutSeconds || *parsed.timeoutSeconds < 1)
            return std::nullopt;
        rest = rest.substr(0, query);
    }

    // The port follows the last ':'; an IPv6 address has its own, so it needs brackets.
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    const std::string_view portText = rest.substr(colon + 1);
    const auto port = Number(portText);
    if (!port || portText.size() > 5 || *port < 1 || *port > 65535 || host.empty())
        return std::nullopt;
    parsed.port = *port;
    if (host.front() == '[') {
        if (host.size() < 2 || host.back() != ']')
            return std::nullopt;
        host = host.substr(1, host.size() - 2);
        if (!IsIpv6(host))
            return std::nullopt;
    } else if (!IsHostName(host)) {
        return std::nullopt;
    }
    parsed.host = host;
    return parsed;
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
        if (!ParseNetworkPort(name))
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
