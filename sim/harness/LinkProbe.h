#pragma once
// A window for the real link library that records every notification, so
// tests and benchmarks can wait for the ACK, NAK and reply of each command.

#include "ZRNComDll.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace zrnsim {

struct LinkEvent {
    uintptr_t code = 0;              // LINK_ACK, LINK_NAK, LINK_REPLY or LINK_DATA
    std::optional<std::string> text; // lParam copied, nullopt for null
};

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
    struct Window : ZrnWindow {
        LinkProbe* owner;
    };

    LinkProbe();
    static intptr_t Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam);

    Window window_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<LinkEvent> events_;
};

} // namespace zrnsim
