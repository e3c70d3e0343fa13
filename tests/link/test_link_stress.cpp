// Close and open back to back, thousands of times, while the far end floods
// replies and the caller sends. Meant for ThreadSanitizer as much as for the
// plain build: a race, a deadlock or a notification for the wrong open fails.

#include "PtyHarness.h"
#include "ZRNComDll.h"

#include <atomic>
#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace zrntest;

namespace {

// The window of one open: counts what it is told, and what it is told after
// the close of its open returned.
struct StressWindow : ZrnWindow {
    StressWindow() : ZrnWindow{&StressWindow::Receive} {}

    static intptr_t Receive(ZrnWindow* self, unsigned, uintptr_t wParam, intptr_t lParam) {
        auto* window = static_cast<StressWindow*>(self);
        const auto me = std::this_thread::get_id();
        std::thread::id none;
        // Every notification of one open comes from the one worker of that open.
        if (!window->worker.compare_exchange_strong(none, me) && none != me)
            window->foreignWorker = true;
        const char* text = reinterpret_cast<const char*>(lParam);
        if ((wParam == LINK_REPLY && std::string_view(text) != "B|1") ||
            (wParam == LINK_DATA && std::string_view(text) != "D|2"))
            window->badText = true;
        if (window->closed.load())
            ++window->afterClose;
        ++window->received;
        return 0;
    }

    std::atomic<std::thread::id> worker{};
    std::atomic<bool> closed{false};
    std::atomic<bool> foreignWorker{false};
    std::atomic<bool> badText{false};
    std::atomic<int> afterClose{0};
    std::atomic<int> received{0};
};

// The device: swallows frames and answers with ACK, a reply and a data reply,
// as fast as the line takes them.
class Flood {
public:
    explicit Flood(const Pty& pty) : thread([this, &pty] { Run(pty.Master()); }) {}
    ~Flood() {
        stop = true;
        thread.join();
    }

private:
    void Run(int master) {
        const std::string burst = "\x06" + Frame("B|1") + Frame("D|2");
        char sink[4096];
        while (!stop) {
            pollfd p{master, POLLIN | POLLOUT, 0};
            if (::poll(&p, 1, 5) <= 0)
                continue;
            while (::read(master, sink, sizeof sink) > 0) {
            }
            if (p.revents & POLLOUT)
                (void)!::write(master, burst.data(), burst.size());
        }
    }

    std::atomic<bool> stop{false};
    std::thread thread;
};

int Cycles() {
    const char* text = std::getenv("ZRN_STRESS_CYCLES");
    if (text != nullptr)
        return std::atoi(text);
#ifdef __SANITIZE_THREAD__
    return 1000; // thread start is slow under the sanitizer; keep the run short
#else
    return 2000;
#endif
}

TEST(LinkStress, CloseAndOpenAtOnceWhileTheDeviceFloods) {
    Pty pty;
    const std::string definition = pty.Definition();
    std::deque<StressWindow> windows; // outlive every worker, see the end
    {
        Flood flood(pty);
        const int cycles = Cycles();
        for (int i = 0; i < cycles; ++i) {
            ASSERT_EQ(fnZrnClose(), 1);
            if (!windows.empty())
                windows.back().closed = true;
            StressWindow& window = windows.emplace_back();
            ASSERT_EQ(fnZrnOpen(&window, definition.c_str()), 1) << "cycle " << i;
            ASSERT_EQ(fnZrnSend("B"), 1);
            // Now and then let an open live until it is told something.
            if (i % 100 == 99) {
                const auto deadline = std::chrono::steady_clock::now() + kWait;
                while (window.received == 0 && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::yield();
                ASSERT_GT(window.received, 0) << "cycle " << i;
            }
        }
        fnZrnClose();
        windows.back().closed = true;
    }
    // Every worker ends by itself once its port is closed; after that no window
    // can be called any more.
    ASSERT_TRUE(WaitForNoWorkers()) << "workers still running";

    int told = 0;
    for (const StressWindow& window : windows) {
        EXPECT_FALSE(window.foreignWorker);
        EXPECT_FALSE(window.badText);
        // At most the one notification that had begun when close was called.
        EXPECT_LE(window.afterClose, 1);
        told += window.received;
    }
    EXPECT_GT(told, 0);
}

} // namespace
