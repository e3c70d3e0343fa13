// The serial ports Windows lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM.
#include "ports/PortList.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zrn {

namespace {

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

} // namespace

std::vector<std::string> RegistrySerialPorts() {
    std::vector<std::string> ports;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                        &opened) != ERROR_SUCCESS)
        return ports;
    const UniqueKey key(opened);
    DWORD values = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                           &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return ports;
    std::string name(longestName + 1, '\0');
    std::string data(longestData + 1, '\0');
    for (DWORD index = 0; index < values; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        // The value names are not used and the type is not examined.
        if (::RegEnumValueA(key.get(), index, name.data(), &nameSize, nullptr, nullptr,
                            reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS)
            continue;
        if (auto port = PortNameFromRegistryData(std::string_view(data.data(), dataSize)))
            ports.push_back(std::move(*port));
    }
    return ports;
}

} // namespace zrn
