#include "platform/Shell.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>

int ShellExecuteOpen(std::string_view address, int show, std::string_view) {
    const std::string file(address);
    const HINSTANCE result = ::ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, show);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

int WinExec(std::string_view commandLine, int show) {
    // CreateProcess may write into the command line, so it gets its own copy.
    std::string line(commandLine);
    if (line.empty())
        return ERROR_FILE_NOT_FOUND;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        // WinExec's answers: 0 out of memory, else the error up to 31.
        const DWORD error = ::GetLastError();
        return error == ERROR_NOT_ENOUGH_MEMORY ? 0
               : error > 0 && error < 32        ? static_cast<int>(error)
                                                : ERROR_FILE_NOT_FOUND;
    }
    // Started: nobody waits for it.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 33;
}

namespace {

// The default value of HKEY_CLASSES_ROOT\key, as RegQueryValueA reads it into
// a buffer of 260 bytes; empty when missing or longer.
std::string ClassesRootDefault(const std::string& key) {
    std::array<char, MAX_PATH> value{};
    LONG size = static_cast<LONG>(value.size());
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value.data(), &size) != ERROR_SUCCESS)
        return {};
    value.back() = '\0';
    return value.data();
}

} // namespace

std::string WebBrowserCommand() {
    const std::string htmlClass = ClassesRootDefault(".htm");
    if (htmlClass.empty())
        return {};
    return ClassesRootDefault(htmlClass + "\\shell\\open\\command");
}
