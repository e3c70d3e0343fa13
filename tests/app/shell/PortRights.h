#pragma once
// For the tests that run as root and act as a user without rights to a port.
#include <grp.h>

#include <cstddef>
#include <string>

// The group that owns serial ports on Debian; any group the user is not in would do.
struct PortGroup {
    gid_t id;
    std::string name;
};

inline PortGroup SerialPortGroup() {
    if (const group* dialout = ::getgrnam("dialout"))
        return {dialout->gr_gid, "dialout"};
    return {20, "20"};
}

// How often `piece` stands in `text`.
inline std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}
