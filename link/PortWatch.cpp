#include "PortWatch.h"

#include <atomic>

namespace zrn {
namespace {

std::atomic<PortWatch*> watcher{nullptr};

} // namespace

void WatchPorts(PortWatch* watch) {
    watcher.store(watch, std::memory_order_release);
}

void TellPortWatch(const PortEvent& event) {
    if (PortWatch* watch = watcher.load(std::memory_order_acquire))
        watch->OnPortEvent(event);
}

} // namespace zrn
