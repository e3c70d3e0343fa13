#include "LinkReceiver.h"

#include "FrameCrc.h"
#include "ZRNComDll.h"

namespace zrn {

void LinkReceiver::Receive(const unsigned char* data, std::size_t length, LinkEvents& events) {
    for (const RxElement& element : rxBuffer.Feed(data, length)) {
        switch (element.kind) {
        case RxElement::Kind::Ack:
            OnAcknowledge(ACK, events);
            break;
        case RxElement::Kind::Nak:
            OnAcknowledge(NAK, events);
            break;
        case RxElement::Kind::Reply:
            OnReply(element.text, events);
            break;
        }
    }
}

const std::string& LinkReceiver::TakeCommand(std::string text) {
    pendingCommand = std::move(text);
    return *pendingCommand;
}

void LinkReceiver::OnAcknowledge(unsigned char byte, LinkEvents& events) {
    const char* command = pendingCommand ? pendingCommand->c_str() : nullptr;
    // Without a window the line state stays as it was: a later reply is then
    // judged by the acknowledgement before.
    if (events.Notify(byte, command))
        lastLineEvent = byte;
    events.Log(byte == ACK ? "ACK" : "NAK");
    pendingCommand.reset();
}

// Only the first reply after an ACK is forwarded; "D" replies always are.
void LinkReceiver::OnReply(const std::string& text, LinkEvents& events) {
    const bool data = !text.empty() && text.front() == 'D';
    if (data || lastLineEvent == ACK)
        events.Notify(data ? LINK_DATA : LINK_REPLY, text.c_str());
    lastLineEvent = 0;
    events.Log(text);
}

} // namespace zrn
