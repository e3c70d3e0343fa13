#include "LinkProbe.h"

#include <new>

namespace zrnsim {

LinkProbe& LinkProbe::Instance() {
    // Built in place and never destroyed: a worker that outlives its close may still
    // notify while the process exits.
    alignas(LinkProbe) static unsigned char storage[sizeof(LinkProbe)];
    static LinkProbe* const probe = ::new (storage) LinkProbe;
    return *probe;
}

LinkProbe::LinkProbe() {
    window_.sendMessage = &LinkProbe::Notify;
    window_.owner = this;
}

intptr_t LinkProbe::Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    if (msg != WM_ZRN_LINK)
        return 0;
    LinkProbe& probe = *static_cast<Window*>(self)->owner;
    LinkEvent event{wParam, std::nullopt};
    if (lParam != 0)
        event.text = reinterpret_cast<const char*>(lParam); // freed when we return
    {
        const std::lock_guard lock(probe.mutex_);
        probe.events_.push_back(std::move(event));
    }
    probe.arrived_.notify_all();
    return 0;
}

bool LinkProbe::Open(const std::string& port) {
    fnZrnClose();
    {
        const std::lock_guard lock(mutex_);
        events_.clear();
    }
    const std::string definition = port + ":9600,N,8,1";
    return fnZrnOpen(&window_, definition.c_str()) == 1;
}

void LinkProbe::Close() {
    fnZrnClose();
}

void LinkProbe::Send(const std::string& text) {
    fnZrnSend(text.c_str());
}

std::optional<LinkEvent> LinkProbe::Next(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, timeout, [this] { return !events_.empty(); }))
        return std::nullopt;
    LinkEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
}

std::optional<Exchanged> LinkProbe::Exchange(const std::string& command, bool query,
                                             std::chrono::milliseconds timeout) {
    Send(command);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const auto left = [deadline] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
    };
    std::optional<Exchanged> result;
    while (auto event = Next(left())) {
        if (event->code == LINK_ACK || event->code == LINK_NAK) {
            result = Exchanged{event->code, event->text.value_or(""), std::nullopt};
            if (event->code == LINK_NAK || !query)
                return result;
        } else if (result && event->code == LINK_REPLY) {
            result->reply = event->text;
            return result;
        }
    }
    return result;
}

} // namespace zrnsim
