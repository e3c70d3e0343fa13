// The link's notifications on Linux: the worker thread calls the window,
// which queues a copy and wakes the waiting session.
#include "Link.h"
#include "QueuedWindow.h"

#include <new>

namespace zrnctl {

struct LinkEvents::State : zrn::QueuedWindow {};

LinkEvents& LinkEvents::Instance() {
    // Built in place and never destroyed (see the class).
    alignas(State) static unsigned char stateStorage[sizeof(State)];
    alignas(LinkEvents) static unsigned char eventsStorage[sizeof(LinkEvents)];
    static LinkEvents* const events = [] {
        State* state = ::new (stateStorage) State;
        return ::new (eventsStorage) LinkEvents(*state);
    }();
    return *events;
}

HWND LinkEvents::Window() {
    return &state_;
}

void LinkEvents::Clear() {
    state_.Clear();
}

std::optional<LinkEvent> LinkEvents::Next(Clock::time_point deadline) {
    std::optional<zrn::LinkEvent> event = state_.Next(deadline);
    if (!event)
        return std::nullopt;
    return LinkEvent{event->code, std::move(event->text)};
}

} // namespace zrnctl
