#include "Platform.h"

#include <windows.h>

#include <cstdio>
#include <io.h>

namespace zrnctl {

bool StderrIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

namespace {

// Closes on every way out.
struct ServiceHandle {
    SC_HANDLE handle;
    ~ServiceHandle() {
        if (handle)
            ::CloseServiceHandle(handle);
    }
};

} // namespace

// Only whether the Windows Time service runs: a stopped service keeps no time.
// Whether a running one has reached its source is not asked (w32tm /query).
std::optional<std::string> PcClockUnsynchronised() {
    const ServiceHandle manager{::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT)};
    if (!manager.handle)
        return std::nullopt;
    const ServiceHandle service{::OpenServiceW(manager.handle, L"W32Time", SERVICE_QUERY_STATUS)};
    if (!service.handle)
        return "the PC clock may not be synchronised (no Windows Time service)";
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(service.handle, &status))
        return std::nullopt;
    if (status.dwCurrentState != SERVICE_RUNNING)
        return "the PC clock may not be synchronised (the Windows Time service is not running): "
               "a sync would spread its time";
    return std::nullopt;
}

} // namespace zrnctl
