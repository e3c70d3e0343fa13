#pragma once
// Why a port did not open, as far as the program can tell without the link
// library's help: a device the user may not read and write. On Debian serial
// ports belong to the group "dialout", and a new user is not in it.
#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// The port of a port definition: the text before the last ':', which starts
// the settings (a network port has a ':' of its own).
std::string DevicePath(std::string_view definition);

// The group owning device when it exists but the effective user may not read
// and write it (its number when the group has no name); nullopt when it is
// missing or accessible, so its refusal had another cause.
std::optional<std::string> PermissionGroup(const std::string& device);

// What the operator can do about it.
std::string PermissionHint(std::string_view device, std::string_view group);

} // namespace zrn
