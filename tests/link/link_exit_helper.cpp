// Opens the link on a pseudo-terminal that floods replies, and returns from
// main with the link still open, as a program that never calls fnZrnClose.

#include "FrameCrc.h"
#include "RawPty.h"
#include "ZRNComDll.h"

#include <atomic>
#include <poll.h>
#include <string>
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
    const auto name = zrntest::OpenRawPty(master, slave);
    if (!name)
        return 2;
    if (fnZrnOpen(&window, (*name + ":9600,N,8,1").c_str()) != 1)
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
