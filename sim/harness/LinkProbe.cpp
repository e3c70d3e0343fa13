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

bool LinkProbe::Open(const std::string& port) {
    fnZrnClose();
    window_.Clear();
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
    return window_.Next(std::chrono::steady_clock::now() + timeout);
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
