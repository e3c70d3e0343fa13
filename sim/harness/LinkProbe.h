#pragma once
// A window for the real link library that records every notification, so
// tests and benchmarks can wait for the ACK, NAK and reply of each command.

#include "QueuedWindow.h"
#include "ZRNComDll.h"

#include <chrono>
#include <optional>
#include <string>

namespace zrnsim {

using zrn::LinkEvent;

struct Exchanged {
    uintptr_t answer = 0;     // LINK_ACK or LINK_NAK
    std::string acknowledged; // the command the library attributed it to
    std::optional<std::string> reply;
};

class LinkProbe {
public:
    // One link per process, and the worker may still notify after a close: the
    // window therefore lives as long as the process.
    static LinkProbe& Instance();

    // Closes any link first and forgets earlier notifications.
    bool Open(const std::string& port);
    void Close();
    void Send(const std::string& text);
    std::optional<LinkEvent> Next(std::chrono::milliseconds timeout);

    // Sends one command and waits for its ACK or NAK and, for an accepted query,
    // the reply; nullopt when the ACK or NAK does not come in time.
    std::optional<Exchanged> Exchange(const std::string& command, bool query,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(3));

private:
    LinkProbe() = default;

    zrn::QueuedWindow window_;
};

} // namespace zrnsim
