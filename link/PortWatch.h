#pragma once
// What the workers do with their ports, told as it happens to one watcher.
//
// The pacing rule (one command per idle read, nothing written while bytes
// arrive) is a statement about these events, seen by the worker itself: tests
// judge it from them rather than from when the far end of the line happened
// to be scheduled, which on a busy machine says little. The shipped library
// has no watcher; a test that links the link's code in installs one.

#include <chrono>
#include <string_view>

namespace zrn {

struct PortEvent {
    enum class Kind {
        IdleRead, // a read that brought nothing for its whole time-out
        Received, // a read that brought `bytes`
        Wrote,    // the frame `bytes`, written whole (or the port closed under it)
    };
    Kind kind;
    const void* port; // the open the worker serves, to tell opens apart
    // From the call's start to its end, on the worker's own clock.
    std::chrono::steady_clock::time_point began;
    std::chrono::steady_clock::time_point ended;
    std::string_view bytes; // valid only during the call
};

class PortWatch {
public:
    // Called on the worker thread, which waits for it; must not call the
    // link's exports.
    virtual void OnPortEvent(const PortEvent& event) = 0;

protected:
    ~PortWatch() = default;
};

// Makes `watch` (null: none) the watcher of every worker from now on; it must
// stay valid until it is replaced and no worker is inside a call to it.
void WatchPorts(PortWatch* watch);

// For the port layer.
void TellPortWatch(const PortEvent& event);

} // namespace zrn
