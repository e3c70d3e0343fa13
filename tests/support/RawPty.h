#pragma once
// A pseudo-terminal standing in for the device, for the test harness, the exit
// helper and the host's relay under wine (built on its own, so header-only).

#include <fcntl.h>
#include <optional>
#include <pty.h>
#include <string>
#include <termios.h>

namespace zrntest {

// Opens a pair: the terminal side raw, so that nothing the link writes is
// echoed or translated, the master non-blocking, neither inherited by a
// program started later. The terminal's path, or nothing on failure.
inline std::optional<std::string> OpenRawPty(int& master, int& slave) {
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return std::nullopt;
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    return name;
}

} // namespace zrntest
