#include "platform/win32/LogPlace.h"

#include <windows.h>

#include <array>

namespace zrn {

std::optional<std::string> TrafficLogDirectory() {
    HMODULE module = ::GetModuleHandleA("ZRNComDll.dll");
    std::array<char, MAX_PATH> path{};
    const DWORD length = ::GetModuleFileNameA(module, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt; // failed or cut short
    const std::string full(path.data(), length);
    const auto separator = full.find_last_of("\\/");
    if (separator == std::string::npos)
        return std::nullopt;
    return full.substr(0, separator + 1);
}

} // namespace zrn
