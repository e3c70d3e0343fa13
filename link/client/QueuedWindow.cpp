#include "QueuedWindow.h"

namespace zrn {

QueuedWindow::QueuedWindow() : ZrnWindow{&QueuedWindow::Notify} {}

// Called on the worker's thread.
intptr_t QueuedWindow::Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    if (msg != WM_ZRN_LINK)
        return 0;
    auto& window = *static_cast<QueuedWindow*>(self);
    LinkEvent event{wParam, std::nullopt};
    if (lParam != 0)
        event.text = reinterpret_cast<const char*>(lParam); // freed when we return
    {
        const std::lock_guard lock(window.mutex);
        window.queue.push_back(std::move(event));
    }
    window.arrived.notify_all();
    return 0;
}

void QueuedWindow::Clear() {
    const std::lock_guard lock(mutex);
    queue.clear();
}

std::optional<LinkEvent> QueuedWindow::Next(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex);
    if (!arrived.wait_until(lock, deadline, [this] { return !queue.empty(); }))
        return std::nullopt;
    LinkEvent event = std::move(queue.front());
    queue.pop_front();
    return event;
}

} // namespace zrn
