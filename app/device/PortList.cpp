#include "device/PortList.h"

#include "base/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zrn {

namespace {

namespace fs = std::filesystem;

// Names of ports that exist only when their hardware does: USB serial
// adapters, modems and boards (ACM), and SoC UARTs.
constexpr std::string_view kDevicePrefixes[] = {
    "ttyUSB", "ttyACM", "ttyAMA", "ttymxc", "ttyO",  "ttySAC", "ttyTHS",
    "ttyMSM", "ttyHS",  "ttyLP",  "ttyPS",  "ttyMV", "ttySC",  "ttyAML",
};

bool HasNumberAfter(std::string_view name, std::string_view prefix) {
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           std::isdigit(static_cast<unsigned char>(name[prefix.size()]));
}

// The kernel lists every possible 8250 port as ttyS*; only those with a
// driver bound and a known UART type are real.
bool IsRealLegacyUart(const fs::path& entry) {
    std::error_code ec;
    if (!fs::exists(entry / "device" / "driver", ec))
        return false;
    std::ifstream typeFile(entry / "type");
    int type = 0;
    return static_cast<bool>(typeFile >> type) && type != 0;
}

bool IsSerialPort(const fs::path& entry) {
    const std::string name = entry.filename().string();
    if (HasNumberAfter(name, "ttyS"))
        return IsRealLegacyUart(entry);
    std::error_code ec;
    return std::any_of(std::begin(kDevicePrefixes), std::end(kDevicePrefixes),
                       [&](std::string_view prefix) { return HasNumberAfter(name, prefix); }) &&
           fs::exists(entry / "device", ec);
}

// Name order with numbers compared by value, so ttyUSB2 comes before ttyUSB10.
bool NameLess(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (digitA && digitB) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])))
                ++endA;
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])))
                ++endB;
            std::string_view numA = a.substr(i, endA - i), numB = b.substr(j, endB - j);
            while (numA.size() > 1 && numA.front() == '0')
                numA.remove_prefix(1);
            while (numB.size() > 1 && numB.front() == '0')
                numB.remove_prefix(1);
            if (numA.size() != numB.size())
                return numA.size() < numB.size();
            if (numA != numB)
                return numA < numB;
            i = endA, j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i, ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

std::vector<std::string> ListSerialPorts(const std::string& sysfsRoot) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(sysfsRoot, ec))
        if (IsSerialPort(entry.path()))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end(), NameLess);
    std::vector<std::string> ports;
    for (const std::string& name : names)
        ports.push_back("/dev/" + name);
    return ports;
}

bool HasUrlScheme(std::string_view name) {
    return name.find("://") != std::string_view::npos;
}

std::vector<std::string> SplitPortList(std::string_view value) {
    std::vector<std::string> ports;
    for (const std::string_view piece : SplitNonEmpty(value, ';')) {
        if (HasUrlScheme(piece)) {
            ports.emplace_back(piece);
            continue;
        }
        for (const std::string_view port : SplitNonEmpty(piece, ':'))
            ports.emplace_back(port);
    }
    return ports;
}

std::optional<std::string> PortNameFromRegistryData(std::string_view data) {
    const std::string_view name = data.substr(0, data.find('\0'));
    if (name.empty())
        return std::nullopt;
    return std::string(name);
}

std::vector<std::string> SystemSerialPorts() {
    if (const char* configured = std::getenv("ZRNCOM_PORTS"))
        return SplitPortList(configured);
#ifdef _WIN32
    return RegistrySerialPorts();
#else
    return ListSerialPorts();
#endif
}

bool PortListBoxLess(std::string_view a, std::string_view b) {
    return LessIgnoreCase(a, b);
}

std::string PortDefinition(std::string_view device) {
    return std::string(device).append(":9600,N,8,1");
}

ScanChoice ChoosePortToScan(const std::vector<std::string>& ports, int nPortScanIndex) {
    const int count = static_cast<int>(ports.size());
    if (count == 0)
        return {std::nullopt, nPortScanIndex};
    ScanChoice choice;
    if (nPortScanIndex >= 0 && nPortScanIndex < count)
        choice.port = ports[static_cast<std::size_t>(nPortScanIndex)];
    // Advance even past a port that could not be read, as the scan always has.
    choice.nNextIndex = nPortScanIndex + 1 >= count || nPortScanIndex < 0 ? 0 : nPortScanIndex + 1;
    return choice;
}

} // namespace zrn
