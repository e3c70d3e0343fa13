#include "ZrnLink.h"

#include "DebugOutput.h"

#include <new>

namespace zrn {
namespace {

// Storage whose content is built once and never destroyed, so static
// destruction at exit cannot pull the record from under a running worker.
template <typename T> union Immortal {
    Immortal() { new (&value) T(); }
    ~Immortal() {}
    T value;
};

} // namespace

ZrnLink& TheLink() {
    static Immortal<ZrnLink> link;
    return link.value;
}

HWND ZrnLink::WindowFor(const PortSession* worker) {
    const std::lock_guard lock(mutex);
    return session.get() == worker ? hwndNotify : nullptr;
}

bool ZrnLink::HasCommandFor(const PortSession* worker) {
    const std::lock_guard lock(mutex);
    return session.get() == worker && !commandQueue.empty();
}

std::optional<std::string> ZrnLink::PopCommandFor(const PortSession* worker) {
    const std::lock_guard lock(mutex);
    if (session.get() != worker || commandQueue.empty())
        return std::nullopt;
    std::string text = std::move(commandQueue.front());
    commandQueue.pop_front();
    // Traced under the lock so the depths appear in the order they happened.
    DebugTrace("ZRNComDllThread pop'd %s, depth = %d\n", text.c_str(),
               static_cast<int>(commandQueue.size()));
    return text;
}

} // namespace zrn
