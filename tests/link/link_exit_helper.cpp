// Opens the link on a pseudo-terminal that floods replies, and returns from
// main with the link still open, as a program that never calls fnZrnClose.

#include "FrameCrc.h"
#include "ZRNComDll.h"

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<int> told{0};

intptr_t Count(ZrnWindow*, unsigned, uintptr_t, intptr_t) {
    ++told;
    return 0;
}

ZrnWindow window{&Count};

} // namespace

int main() {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return 2;
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    if (fnZrnOpen(&window, (std::string(name) + ":9600,N,8,1").c_str()) != 1)
        return 3;
    // The device keeps talking until the process is gone.
    std::thread([master] {
        const std::string burst = "\x06" + zrn::BuildFrame("B|1") + zrn::BuildFrame("D|2");
        char sink[256];
        for (;;) {
            pollfd p{master, POLLIN | POLLOUT, 0};
            ::poll(&p, 1, 5);
            while (::read(master, sink, sizeof sink) > 0) {
            }
            (void)!::write(master, burst.data(), burst.size());
        }
    }).detach();
    for (int i = 0; i < 20; ++i)
        fnZrnSend("B");
    while (told < 50) {
        pollfd none{};
        ::poll(&none, 0, 1);
    }
    return 0;
}
