#include "PortName.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace zrn {
namespace {

constexpr std::string_view kRaw = "tcp://";
constexpr std::string_view kRfc2217 = "rfc2217://";

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t at = text.find(separator, start);
        if (at != start)
            parts.push_back(text.substr(start, at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

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
    const std::vector<std::string_view> parts = Split(text, '.');
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
    for (const std::string_view label : Split(text, '.')) {
        const bool letters = AllOf(label, [](char ch) {
            return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '-';
        });
        if (!letters || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
    }
    return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// "timeout=2.5" (seconds); the only option there is.
bool ParseOptions(std::string_view options, NetworkAddress& address, std::string& problem) {
    constexpr std::string_view kTimeout = "timeout=";
    if (!options.starts_with(kTimeout)) {
        problem = "unknown option \"" + std::string(options) + "\" (only timeout=SECONDS)";
        return false;
    }
    const std::string value(options.substr(kTimeout.size()));
    char* end = nullptr;
    const double seconds = value.empty() ? -1 : std::strtod(value.c_str(), &end);
    if (seconds <= 0 || seconds > 3600 || end == nullptr || *end != '\0') {
        problem = "the time-out must be a number of seconds between 0 and 3600";
        return false;
    }
    address.timeout = std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
    return true;
}

// "HOST:PORT[?options]" up to the settings' ":"; the rest of `text` is left in it.
std::optional<NetworkAddress> ParseAddress(std::string_view& text, std::string& problem) {
    NetworkAddress address;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            problem = "an IPv6 address needs its closing \"]\"";
            return std::nullopt;
        }
        address.host = std::string(text.substr(1, close - 1));
        text.remove_prefix(close + 1);
        if (!IsIpv6(address.host)) {
            problem = "\"" + address.host + "\" is not an IPv6 address";
            return std::nullopt;
        }
    } else {
        const auto colon = text.find_first_of(":?");
        address.host = std::string(text.substr(0, colon));
        text.remove_prefix(colon == std::string_view::npos ? text.size() : colon);
        if (!address.host.empty() && !IsHostName(address.host)) {
            problem = "\"" + address.host + "\" is not a host name or address";
            return std::nullopt;
        }
    }
    if (address.host.empty() || !text.starts_with(':')) {
        problem = "give the gateway as HOST:PORT";
        return std::nullopt;
    }
    text.remove_prefix(1);
    const auto portEnd = std::min(text.find_first_of(":?"), text.size());
    const std::string_view port = text.substr(0, portEnd);
    text.remove_prefix(portEnd);
    if (!AllDigits(port) || port.size() > 5 || std::stoul(std::string(port)) == 0 ||
        std::stoul(std::string(port)) > 65535) {
        problem = "the TCP port must be a number from 1 to 65535";
        return std::nullopt;
    }
    address.service = std::string(port);
    if (text.starts_with('?')) {
        const auto optionsEnd = std::min(text.find(':'), text.size());
        if (!ParseOptions(text.substr(1, optionsEnd - 1), address, problem))
            return std::nullopt;
        text.remove_prefix(optionsEnd);
    }
    return address;
}

} // namespace

std::string PortFileTag(std::string_view port) {
    std::string tag;
    for (const char c : port) {
        const bool kept = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.';
        if (kept)
            tag += c;
        else if (!tag.empty() && tag.back() != '_')
            tag += '_';
    }
    while (!tag.empty() && tag.back() == '_')
        tag.pop_back();
    return tag;
}

bool IsNetworkPortName(std::string_view text) {
    return StartsWithIgnoreCase(text, kRaw) || StartsWithIgnoreCase(text, kRfc2217);
}

std::optional<PortDefinition> ParsePortDefinition(std::string_view definition,
                                                  std::string& problem) {
    PortDefinition result;
    if (!IsNetworkPortName(definition)) {
        const auto colon = definition.find(':');
        result.name = std::string(definition.substr(0, colon));
        if (colon != std::string_view::npos)
            result.settings = std::string(definition.substr(colon + 1));
        return result;
    }
    const bool rfc2217 = StartsWithIgnoreCase(definition, kRfc2217);
    std::string_view rest = definition.substr((rfc2217 ? kRfc2217 : kRaw).size());
    std::optional<NetworkAddress> address = ParseAddress(rest, problem);
    if (!address)
        return std::nullopt;
    address->protocol = rfc2217 ? NetworkAddress::Protocol::Rfc2217 : NetworkAddress::Protocol::Raw;
    result.name = std::string(definition.substr(0, definition.size() - rest.size()));
    if (rest.starts_with(':'))
        result.settings = std::string(rest.substr(1));
    result.network = std::move(*address);
    return result;
}

} // namespace zrn
