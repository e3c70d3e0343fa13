#pragma once
// Notifications for programs that wait on the link instead of running a
// message loop (zrnctl, the simulator's probe): the worker's notification is
// copied into a queue, and the waiting thread takes it from there. A plain
// callback of a link handle feeds it on POSIX and Windows alike.

#include "ZRNComDll.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace zrn {

struct LinkEvent {
    std::uintptr_t code = 0;         // LINK_ACK, LINK_NAK, LINK_REPLY, LINK_DATA or LINK_LOST
    std::optional<std::string> text; // the notification's text, copied; nullopt for none
};

class LinkQueue {
public:
    // A ZrnLinkCallback whose user is the LinkQueue; called on the worker's thread.
    static void Callback(void* user, unsigned code, const char* text) noexcept;

    void Push(unsigned code, const char* text) noexcept;
    // Drops what is queued but a LINK_LOST: the library tells that only once.
    void Clear();
    // The next notification, or nothing once the deadline has passed.
    std::optional<LinkEvent> Next(std::chrono::steady_clock::time_point deadline);

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<LinkEvent> queue_;
};

} // namespace zrn
