// A Linux helper for the Windows tests: runs a command (the test under wine)
// with a pseudo-terminal behind LINK, the path wine's COM1 points to, and
// relays the pseudo-terminal's device side to one TCP client at a time on
// 127.0.0.1. The command learns the port from ZRN_LINE_PORT. A connection to
// ZRN_LINE_SETTINGS_PORT gets one line, "<baud> <stop bits>", of the line as
// the port's user set it, and is closed.
//
// Usage: pty_bridge LINK COMMAND [ARGUMENTS...]; exits with the command's status.

#include "RawPty.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

pid_t child = -1;

void ForwardSignal(int signal) {
    if (child > 0)
        ::kill(child, signal);
}

bool WriteAll(int fd, const char* data, ssize_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(length));
        if (n > 0) {
            data += n;
            length -= n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

int Listen(unsigned short& port) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener, 4) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return -1;
    port = ntohs(address.sin_port);
    return listener;
}

unsigned long Baud(speed_t speed) {
    switch (speed) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

void TellSettings(int listener, int slave) {
    const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return;
    termios tio{};
    ::tcgetattr(slave, &tio);
    const std::string line = std::to_string(Baud(::cfgetospeed(&tio))) + " " +
                             ((tio.c_cflag & CSTOPB) != 0 ? "2" : "1") + "\n";
    WriteAll(client, line.data(), static_cast<ssize_t>(line.size()));
    ::close(client);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pty_bridge LINK COMMAND [ARGUMENTS...]\n");
        return 2;
    }
    const std::string link = argv[1];
    // Our own descriptor on the device side keeps the line up while the port
    // is closed between opens.
    int master = -1;
    int slave = -1;
    const auto name = zrntest::OpenRawPty(master, slave);
    if (!name) {
        std::perror("openpty");
        return 2;
    }
    ::unlink(link.c_str());
    if (::symlink(name->c_str(), link.c_str()) != 0) {
        std::perror("symlink");
        return 2;
    }

    unsigned short port = 0;
    unsigned short settingsPort = 0;
    const int listener = Listen(port);
    const int settings = Listen(settingsPort);
    if (listener < 0 || settings < 0) {
        std::perror("listen");
        return 2;
    }
    ::setenv("ZRN_LINE_PORT", std::to_string(port).c_str(), 1);
    ::setenv("ZRN_LINE_SETTINGS_PORT", std::to_string(settingsPort).c_str(), 1);

    child = ::fork();
    if (child == 0) {
        ::execvp(argv[2], argv + 2);
        std::perror("exec");
        ::_exit(127);
    }
    std::signal(SIGTERM, ForwardSignal);
    std::signal(SIGINT, ForwardSignal);
    std::signal(SIGPIPE, SIG_IGN);

    int client = -1;
    int status = 0;
    char buffer[4096];
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        pollfd fds[3] = {{master, POLLIN, 0},
                         {client >= 0 ? client : listener, POLLIN, 0},
                         {settings, POLLIN, 0}};
        if (::poll(fds, 3, 20) <= 0)
            continue;
        if (fds[2].revents & POLLIN)
            TellSettings(settings, slave);
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            // With nobody listening the bytes are dropped: a test sees only
            // what its own connection's time brought.
            if (n > 0 && client >= 0 && !WriteAll(client, buffer, n)) {
                ::close(client);
                client = -1;
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (client < 0) {
                client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            } else {
                const ssize_t n = ::read(client, buffer, sizeof buffer);
                if (n > 0) {
                    WriteAll(master, buffer, n);
                } else if (n == 0 || errno != EINTR) {
                    ::close(client);
                    client = -1;
                }
            }
        }
    }
    ::unlink(link.c_str());
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
