#pragma once
// The default link's window for programs that wait on it instead of running a
// message loop: each notification goes into a LinkQueue.

#include "LinkQueue.h"
#include "ZRNComDll.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace zrn {

class QueuedWindow : public ZrnWindow {
public:
    QueuedWindow();

    void Clear() { queue_.Clear(); }
    // The next notification, or nothing once the deadline has passed.
    std::optional<LinkEvent> Next(std::chrono::steady_clock::time_point deadline) {
        return queue_.Next(deadline);
    }

private:
    static intptr_t Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam);

    LinkQueue queue_;
};

} // namespace zrn
