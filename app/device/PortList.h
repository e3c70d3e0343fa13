#pragma once
// The serial ports the system has, and the forms the port scan and the connect
// dialog give them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {

inline constexpr char SYSFS_TTY_ROOT[] = "/sys/class/tty";

// "/dev/NAME" for every USB, ACM and platform UART under root, and ttyS* only
// where a real UART sits behind it; in name order (numbers by value).
std::vector<std::string> ListSerialPorts(const std::string& sysfsRoot = SYSFS_TTY_ROOT);

// True when the name holds "://": a network port (tcp://, rfc2217://), not a device.
bool HasUrlScheme(std::string_view name);

// ZRNCOM_PORTS in the given order: split at ';', then each piece without "://"
// at ':' (so "COM1:COM3" still names two ports) while a piece with "://" is one
// network port; empty items dropped.
std::vector<std::string> SplitPortList(std::string_view value);

// The port names under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM in the registry's
// order (Windows only).
std::vector<std::string> RegistrySerialPorts();

// A SERIALCOMM value's data as a port name: the text before the first NUL
// (the value type is not examined); nullopt when that is empty.
std::optional<std::string> PortNameFromRegistryData(std::string_view data);

// ZRNCOM_PORTS when it is set (even empty), else ListSerialPorts() (on
// Windows RegistrySerialPorts()).
std::vector<std::string> SystemSerialPorts();

// The connect dialog's list order: case-insensitive alphabetical, so "COM10"
// sorts before "COM2".
bool PortListBoxLess(std::string_view a, std::string_view b);

// "%s:9600,N,8,1".
std::string PortDefinition(std::string_view device);

// The connect dialog's choice when the system lists no port: the first serial
// device the system would name.
#ifdef _WIN32
inline constexpr char FALLBACK_PORT_DEFINITION[] = "COM1:9600,N,8,1";
#else
inline constexpr char FALLBACK_PORT_DEFINITION[] = "/dev/ttyS0:9600,N,8,1";
#endif

// One scan step: the port at nPortScanIndex (none when the list has shrunk
// below it) and the index of the next step, wrapping to 0. An empty list
// leaves the index where it is.
struct ScanChoice {
    std::optional<std::string> port;
    int nNextIndex = 0;
};
ScanChoice ChoosePortToScan(const std::vector<std::string>& ports, int nPortScanIndex);

} // namespace zrn
