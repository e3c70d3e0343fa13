#include "LinkQueue.h"

#include <algorithm>
#include <new>

namespace zrn {

void LinkQueue::Callback(void* user, unsigned code, const char* text) noexcept {
    static_cast<LinkQueue*>(user)->Push(code, text);
}

void LinkQueue::Push(unsigned code, const char* text) noexcept {
    try {
        LinkEvent event{code, std::nullopt};
        if (text != nullptr)
            event.text = text; // the library frees it when we return
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(std::move(event));
        }
        arrived_.notify_all();
    } catch (const std::bad_alloc&) {
        // Out of memory: the notification is lost, as a lost answer would be.
    }
}

void LinkQueue::Clear() {
    const std::lock_guard lock(mutex_);
    std::erase_if(queue_, [](const LinkEvent& event) { return event.code != LINK_LOST; });
}

std::optional<LinkEvent> LinkQueue::Next(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_until(lock, deadline, [this] { return !queue_.empty(); }))
        return std::nullopt;
    LinkEvent event = std::move(queue_.front());
    queue_.pop_front();
    return event;
}

} // namespace zrn
