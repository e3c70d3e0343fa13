#pragma once
// A window for programs that wait on the link instead of running a message
// loop (zrnctl, the simulator's probe): the worker's notification is copied
// into a queue, and the waiting thread takes it from there.

#include "ZRNComDll.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace zrn {

struct LinkEvent {
    std::uintptr_t code = 0;         // LINK_ACK, LINK_NAK, LINK_REPLY or LINK_DATA
    std::optional<std::string> text; // the notification's text, copied; nullopt for none
};

class QueuedWindow : public ZrnWindow {
public:
    QueuedWindow();

    void Clear();
    // The next notification, or nothing once the deadline has passed.
    std::optional<LinkEvent> Next(std::chrono::steady_clock::time_point deadline);

private:
    static intptr_t Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam);

    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<LinkEvent> queue;
};

} // namespace zrn
