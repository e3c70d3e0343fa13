// Reply latency: from the far end writing a reply's last byte to the start of
// its notification, over ~1000 replies on a pseudo-terminal.

#include "FrameCrc.h"
#include "RawPty.h"
#include "ZRNComDll.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct TimingWindow : ZrnWindow {
    TimingWindow() : ZrnWindow{&TimingWindow::Receive} {}
    static intptr_t Receive(ZrnWindow* self, unsigned, uintptr_t, intptr_t) {
        const auto now = Clock::now();
        auto* window = static_cast<TimingWindow*>(self);
        const std::lock_guard lock(window->mutex);
        window->started = now;
        ++window->count;
        window->told.notify_all();
        return 0;
    }
    std::mutex mutex;
    std::condition_variable told;
    Clock::time_point started;
    int count = 0;
};

} // namespace

int main(int argc, char** argv) {
    const int replies = argc > 1 ? std::atoi(argv[1]) : 1000;
    const zrntest::RawPty pty;
    if (!pty.ok())
        return 1;

    TimingWindow window;
    if (fnZrnOpen(&window, pty.definition().c_str()) != 1)
        return 1;
    std::vector<double> micros;
    for (int i = 0; i < replies; ++i) {
        const std::string frame = zrn::BuildFrame("D|" + std::to_string(i));
        // Let the line go quiet, as between the device's replies.
        std::this_thread::sleep_for(std::chrono::milliseconds(i % 7));
        if (::write(pty.master(), frame.data(), frame.size() - 1) < 0)
            return 1;
        const auto written = Clock::now();
        if (::write(pty.master(), frame.data() + frame.size() - 1, 1) != 1)
            return 1;
        std::unique_lock lock(window.mutex);
        if (!window.told.wait_for(lock, std::chrono::seconds(2), [&] { return window.count > i; }))
            return 2;
        micros.push_back(
            std::chrono::duration<double, std::micro>(window.started - written).count());
    }
    fnZrnClose();
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[static_cast<std::size_t>(q * (micros.size() - 1))];
    };
    std::printf("reply latency over %zu replies: median %.0f us, p99 %.0f us, max %.0f us\n",
                micros.size(), at(0.5), at(0.99), micros.back());
    // Workers end within one read time-out of the close.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return 0;
}
