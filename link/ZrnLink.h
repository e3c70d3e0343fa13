#pragma once
// One link record: the default link of the four exports, or one behind a
// link handle. Shared by the caller's threads and the link's workers.

#include "LinkError.h"
#include "PortSession.h"
#include "TrafficLog.h"
#include "ZRNComDll.h"

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace zrn {

// Whom a worker tells: the default link's window, or a handle's callback.
struct LinkTarget {
    HWND window = nullptr;
    ZrnLinkCallback callback = nullptr;
    void* user = nullptr;

    bool Empty() const { return window == nullptr && callback == nullptr; }
};

struct ZrnLink {
    // Guards the fields below; held only for a queue operation or a look at
    // the session, never across a port access or a notification.
    std::mutex mutex;
    HWND hwndNotify = nullptr;          // the default link's window
    ZrnLinkCallback callback = nullptr; // a handle's callback, with its user
    void* user = nullptr;
    std::shared_ptr<PortSession> session; // null while the link is closed
    std::deque<std::string> commandQueue;
    LinkError lastOpenError;
    std::string portName; // of the last open that succeeded

    // A handle's callbacks run under this, so that closing from another
    // thread can wait for one under way (see fnZrnCloseLink).
    std::mutex delivery;

    TrafficLog log; // has its own lock

    // Whom to tell about `worker`'s port; empty once that open is closed.
    LinkTarget TargetFor(const PortSession* worker);
    // Whether a command waits for `worker`'s port; false once it is closed.
    bool HasCommandFor(const PortSession* worker);
    // The next command for `worker`'s port, traced; nothing once it is closed.
    std::optional<std::string> PopCommandFor(const PortSession* worker);
    // Opens `definition` and starts its worker, unless a port is open already.
    // True when one is open afterwards.
    bool OpenPort(const std::shared_ptr<ZrnLink>& self, std::string_view definition);
    // Queues a copy of text and wakes the worker; false when out of memory.
    bool Push(const char* text, const char* trace);
    // Closes the port without waiting for the worker and empties the queue.
    void ClosePort(const char* trace);
};

// The default link. Never destroyed: detached workers may still run while the
// process exits.
ZrnLink& TheLink();
std::shared_ptr<ZrnLink> TheLinkShared();

// The link record a callback is running for on this thread, if any.
const ZrnLink* LinkDeliveringHere();

// Starts ZRNComDllThread for `session` of `link`; throws std::system_error
// when it cannot.
void StartWorker(std::shared_ptr<ZrnLink> link, std::shared_ptr<PortSession> session);

} // namespace zrn
