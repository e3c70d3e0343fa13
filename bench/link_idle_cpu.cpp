// The link alone on a pseudo-terminal: wakeups a second (voluntary context
// switches) and CPU seconds a minute of the worker and of the whole process.
//
//   link_idle_cpu [seconds] [commands per second]
//
// Without commands the line stays silent and nothing is queued: an idle open
// link. With them the far end (a thread of this process) answers every frame
// with an ACK, as the program polling a device would have it.

#include "ProcTasks.h"
#include "RawPty.h"
#include "ZRNComDll.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

// Answers each frame (each CR) with an ACK until `stop` becomes readable;
// it sleeps meanwhile, so that its own wakeups are the link's traffic.
void FarEnd(int master, int stop) {
    ::pthread_setname_np(::pthread_self(), "far end");
    for (;;) {
        pollfd p[2]{{master, POLLIN, 0}, {stop, POLLIN, 0}};
        if (::poll(p, 2, -1) <= 0)
            continue;
        if (p[1].revents != 0)
            return;
        char chunk[256];
        const ssize_t n = ::read(master, chunk, sizeof chunk);
        for (ssize_t i = 0; i < n; ++i)
            if (chunk[i] == '\r')
                (void)!::write(master, "\x06", 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const double perSecond = argc > 2 ? std::atof(argv[2]) : 0;
    const zrntest::RawPty pty;
    if (!pty.ok() || seconds <= 0)
        return 1;
    int stop[2];
    if (::pipe(stop) != 0)
        return 1;
    std::thread farEnd(FarEnd, pty.master(), stop[0]);
    if (fnZrnOpen(nullptr, pty.definition().c_str()) != 1)
        return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    const auto before = SampleTasks(::getpid());
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    if (perSecond > 0) {
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(1.0 / perSecond));
        for (auto next = start; next < end; next += period) {
            std::this_thread::sleep_until(next);
            fnZrnSend("C");
        }
    }
    std::this_thread::sleep_until(end);
    const auto after = SampleTasks(::getpid());

    fnZrnClose();
    ::close(stop[1]);
    farEnd.join();
    ::close(stop[0]);

    std::printf("link on a pseudo-terminal, %s, over %d s\n",
                perSecond > 0 ? "commands answered with ACK" : "idle (nothing queued, line silent)",
                seconds);
    if (perSecond > 0)
        std::printf("  %.1f commands a second\n", perSecond);
    std::printf("  %-18s %12s %16s\n", "thread", "wakeups/s", "CPU s/minute");
    long long wakeups = 0;
    double cpu = 0;
    for (const auto& [name, counts] : ByName(before, after)) {
        std::printf("  %-18s %12.1f %16.4f\n", name.c_str(),
                    static_cast<double>(counts.wakeups) / seconds,
                    counts.cpuSeconds * 60 / seconds);
        wakeups += counts.wakeups;
        cpu += counts.cpuSeconds;
    }
    std::printf("  %-18s %12.1f %16.4f\n", "(process)", static_cast<double>(wakeups) / seconds,
                cpu * 60 / seconds);
    return 0;
}
