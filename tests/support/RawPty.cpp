#include "RawPty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace zrntest {

void MakeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
}

std::optional<std::string> OpenRawPty(int& master, int& slave) {
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return std::nullopt;
    MakeRaw(slave);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    return name;
}

int OpenRawTerminal(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        MakeRaw(fd);
    return fd;
}

RawPty::RawPty() {
    int master = -1;
    int slave = -1;
    if (auto path = OpenRawPty(master, slave)) {
        master_ = zrn::UniqueFd(master);
        slave_ = zrn::UniqueFd(slave);
        name_ = std::move(*path);
    }
}

} // namespace zrntest
