#include "Trace.h"

#include <cstdio>

namespace zrnsim {

std::string Visible(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '<') {
            text.push_back(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", b);
            text += hex;
        }
    }
    return text;
}

std::string DescribeIncoming(const ReceivedFrame& frame) {
    return frame.intact ? "> " + Visible(frame.text) : "> bad frame " + Visible(frame.text);
}

std::string DescribeOutgoing(const Element& element) {
    switch (element.kind) {
    case Element::Kind::Ack:
        return "< ACK";
    case Element::Kind::Nak:
        return "< NAK";
    case Element::Kind::Reply:
        return "< " + Visible(element.text) + "  [" + Visible(element.bytes) + "]";
    case Element::Kind::Noise:
        return "< noise " + Visible(element.bytes);
    }
    return "<";
}

} // namespace zrnsim
