#pragma once
// The serial ports the system has, and the forms the port scan and the connect
// dialog give them.

#include <string>
#include <string_view>
#include <vector>

namespace zrn {

inline constexpr char SYSFS_TTY_ROOT[] = "/sys/class/tty";

// "/dev/NAME" for every USB, ACM and platform UART under root, and ttyS* only
// where a real UART sits behind it; in name order (numbers by value).
std::vector<std::string> ListSerialPorts(const std::string& sysfsRoot = SYSFS_TTY_ROOT);

// ZRNCOM_PORTS split at ':' in the given order; empty items dropped.
std::vector<std::string> SplitPortList(std::string_view value);

// ZRNCOM_PORTS when it is set (even empty), else ListSerialPorts().
std::vector<std::string> SystemSerialPorts();

// The connect dialog's list order: case-insensitive alphabetical, so "COM10"
// sorts before "COM2".
bool PortListBoxLess(std::string_view a, std::string_view b);

// "%s:9600,N,8,1".
std::string PortDefinition(std::string_view device);

} // namespace zrn
