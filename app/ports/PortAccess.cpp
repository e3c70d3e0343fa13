#include "ports/PortAccess.h"

#ifndef _WIN32
#include <array>
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zrn {

std::string DevicePath(std::string_view definition) {
    return std::string(definition.substr(0, definition.rfind(':')));
}

#ifdef _WIN32
// A COM port refused on Windows is busy or missing: no group grants access.
std::optional<std::string> PermissionGroup(const std::string&) {
    return std::nullopt;
}
#else
std::optional<std::string> PermissionGroup(const std::string& device) {
    struct stat info {};
    if (device.empty() || ::stat(device.c_str(), &info) != 0)
        return std::nullopt;
    // The effective user opens the port, so its rights count.
    if (::euidaccess(device.c_str(), R_OK | W_OK) == 0 || errno != EACCES)
        return std::nullopt;
    std::array<char, 4096> buffer{};
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->gr_name != nullptr)
        return std::string(found->gr_name);
    return std::to_string(info.st_gid);
}
#endif

std::string PermissionHint(std::string_view device, std::string_view group) {
    std::string hint = "No permission to open " + std::string(device) + ". ";
    // Joining root's group is no advice to give.
    if (group.empty() || group == "root" || group == "0")
        return hint + "Ask the administrator for read and write access to it.";
    return hint + "It belongs to the group \"" + std::string(group) +
           "\": add yourself to it with  sudo usermod -aG " + std::string(group) +
           " $USER  and log in again.";
}

} // namespace zrn
