#pragma once
// Stands in for the link library while it lives: opening and closing succeed,
// the traffic log is never switched on, and every text the dialog sends is
// kept in order. The table it replaced comes back when it goes, so make it
// before the dialog and let it outlive it.
#include "protocol/LinkApi.h"

#include <string>
#include <utility>
#include <vector>

class RecordingLink {
public:
    using Commands = std::vector<std::string>;

    RecordingLink() : saved(Link()) {
        Sent().clear();
        Link() = {[](HWND, const char*) { return 1; },
                  [](const char* text) {
                      Sent().emplace_back(text);
                      return 1;
                  },
                  [] { return 1; }, [](bool) { return 0; }};
    }
    ~RecordingLink() { Link() = saved; }
    RecordingLink(const RecordingLink&) = delete;
    RecordingLink& operator=(const RecordingLink&) = delete;

    // What was sent since the last call.
    static Commands Take() { return std::exchange(Sent(), {}); }

private:
    // The link's exports are plain functions, so what they record is static.
    static Commands& Sent() {
        static Commands sent;
        return sent;
    }

    LinkApi saved;
};
