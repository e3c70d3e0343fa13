#pragma once
// What one link worker does with the line: the receive buffer, the last
// acknowledgement seen and the command awaiting one. No I/O: the worker hands
// it the bytes of each read and gets told whom to notify and what to log.

#include "RxBuffer.h"

#include <optional>
#include <string>
#include <string_view>

namespace zrn {

class LinkEvents {
public:
    // Tells the registered window; false when no window is registered.
    virtual bool Notify(unsigned wParam, const char* lParam) = 0;
    virtual void Log(std::string_view line) = 0;

protected:
    ~LinkEvents() = default;
};

class LinkReceiver {
public:
    void Receive(const unsigned char* data, std::size_t length, LinkEvents& events);

    // The command about to be written becomes the one the next ACK or NAK is
    // attributed to; an earlier one never acknowledged is dropped silently.
    const std::string& TakeCommand(std::string text);

    const std::optional<std::string>& PendingCommand() const { return pendingCommand; }
    unsigned char LastLineEvent() const { return lastLineEvent; }

private:
    void OnAcknowledge(unsigned char byte, LinkEvents& events);
    void OnReply(const std::string& text, LinkEvents& events);

    RxBuffer rxBuffer;
    unsigned char lastLineEvent = 0;
    std::optional<std::string> pendingCommand;
};

} // namespace zrn
