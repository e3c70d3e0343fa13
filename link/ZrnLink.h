#pragma once
// The one link record of the process, shared by the exports (caller's thread)
// and the workers.

#include "PortSession.h"
#include "TrafficLog.h"
#include "ZRNComDll.h"

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace zrn {

struct ZrnLink {
    // Guards the fields below; held only for a queue operation or a look at
    // the session, never across a port access or a notification.
    std::mutex mutex;
    HWND hwndNotify = nullptr;
    std::shared_ptr<PortSession> session; // null while the link is closed
    std::deque<std::string> commandQueue;

    TrafficLog log; // has its own lock

    // The window to tell about `worker`'s port; null once that open is closed.
    HWND WindowFor(const PortSession* worker);
    // Whether a command waits for `worker`'s port; false once it is closed.
    bool HasCommandFor(const PortSession* worker);
    // The next command for `worker`'s port, traced; nothing once it is closed.
    std::optional<std::string> PopCommandFor(const PortSession* worker);
};

// Never destroyed: detached workers may still run while the process exits.
ZrnLink& TheLink();

// Starts ZRNComDllThread for `session`; throws std::system_error when it cannot.
void StartWorker(std::shared_ptr<PortSession> session);

} // namespace zrn
