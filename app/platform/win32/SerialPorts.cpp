// The serial ports Windows lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM.
#include "platform/SerialPorts.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace zrn {

namespace {

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

} // namespace

std::vector<std::string> SerialCommValues() {
    std::vector<std::string> values;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                        &opened) != ERROR_SUCCESS)
        return values;
    const UniqueKey key(opened);
    DWORD count = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::string name(longestName + 1, '\0');
    std::string data(longestData + 1, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        // The value names are not used.
        if (::RegEnumValueA(key.get(), index, name.data(), &nameSize, nullptr, nullptr,
                            reinterpret_cast<BYTE*>(data.data()), &dataSize) == ERROR_SUCCESS)
            values.emplace_back(data.data(), dataSize);
    }
    return values;
}

} // namespace zrn
