#include "LogName.h"

#include "PortName.h"

#include <windows.h>

#include <array>

namespace zrn {

std::optional<std::string> LogFileName(std::time_t when) {
    std::tm local{};
    if (::localtime_s(&local, &when) != 0)
        return std::nullopt;
    SYSTEMTIME at{};
    at.wYear = static_cast<WORD>(local.tm_year + 1900);
    at.wMonth = static_cast<WORD>(local.tm_mon + 1);
    at.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    at.wDay = static_cast<WORD>(local.tm_mday);
    at.wHour = static_cast<WORD>(local.tm_hour);
    at.wMinute = static_cast<WORD>(local.tm_min);
    at.wSecond = static_cast<WORD>(local.tm_sec);
    // Date and time text must fit in 32 characters with the NUL; the month
    // abbreviation follows the system's locale.
    std::array<char, 32> text{};
    const int date = ::GetDateFormatA(LOCALE_SYSTEM_DEFAULT, 0, &at, "MMM_dd_yyyy", text.data(),
                                      static_cast<int>(text.size()));
    if (date <= 0)
        return std::nullopt;
    const auto used = static_cast<std::size_t>(date - 1); // the count includes the NUL
    if (::GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, 0, &at, "_HH_mm_ss", text.data() + used,
                         static_cast<int>(text.size() - used)) <= 0)
        return std::nullopt;
    return std::string(text.data()) + ".LOG";
}

std::optional<std::string> NewLogPath(std::time_t when, std::string_view port) {
    const auto directory = ProgramDirectory();
    auto name = LogFileName(when);
    if (name && !port.empty())
        name->insert(name->size() - 4, "_" + PortFileTag(port));
    if (!directory || !name || directory->size() + name->size() >= MAX_PATH)
        return std::nullopt;
    return *directory + *name;
}

// The library's own folder: the program ships with the library beside it, and
// a program loading it from elsewhere still finds its log next to the DLL.
std::optional<std::string> ProgramDirectory() {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&ProgramDirectory), &module))
        return std::nullopt;
    std::array<char, MAX_PATH> path{};
    const DWORD length = ::GetModuleFileNameA(module, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt; // failed or cut short
    std::string full(path.data(), length);
    const auto separator = full.find_last_of("\\/");
    if (separator == std::string::npos)
        return std::nullopt;
    return full.substr(0, separator + 1);
}

} // namespace zrn
