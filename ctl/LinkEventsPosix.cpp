// The link's notifications on Linux: the worker thread calls the window,
// which queues a copy and wakes the waiting session.
#include "Link.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>

namespace zrnctl {

struct LinkEvents::State {
    struct Window : ZrnWindow {
        State* state = nullptr;
    } window;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<LinkEvent> queue;

    static intptr_t Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
        if (msg != WM_ZRN_LINK)
            return 0;
        State& state = *static_cast<Window*>(self)->state;
        LinkEvent event{wParam, std::nullopt};
        if (lParam != 0)
            event.text = reinterpret_cast<const char*>(lParam); // freed when we return
        {
            const std::lock_guard lock(state.mutex);
            state.queue.push_back(std::move(event));
        }
        state.arrived.notify_all();
        return 0;
    }
};

LinkEvents& LinkEvents::Instance() {
    // Built in place and never destroyed (see the class).
    alignas(State) static unsigned char stateStorage[sizeof(State)];
    alignas(LinkEvents) static unsigned char eventsStorage[sizeof(LinkEvents)];
    static LinkEvents* const events = [] {
        State* state = ::new (stateStorage) State;
        state->window.sendMessage = &State::Notify;
        state->window.state = state;
        return ::new (eventsStorage) LinkEvents(*state);
    }();
    return *events;
}

HWND LinkEvents::Window() {
    return &state_.window;
}

void LinkEvents::Clear() {
    const std::lock_guard lock(state_.mutex);
    state_.queue.clear();
}

std::optional<LinkEvent> LinkEvents::Next(Clock::time_point deadline) {
    std::unique_lock lock(state_.mutex);
    if (!state_.arrived.wait_until(lock, deadline, [this] { return !state_.queue.empty(); }))
        return std::nullopt;
    LinkEvent event = std::move(state_.queue.front());
    state_.queue.pop_front();
    return event;
}

} // namespace zrnctl
