#include "RxBuffer.h"

#include "FrameCrc.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace zrn {
namespace {

// One byte stays free for the terminating NUL.
constexpr std::size_t kCapacity = RxBuffer::kSize - 1;
// STX, ETX, four check digits, CR.
constexpr std::size_t kShortestFrame = 7;
constexpr char kHeads[] = {static_cast<char>(STX), static_cast<char>(ACK), static_cast<char>(NAK),
                           0};

} // namespace

std::vector<RxElement> RxBuffer::Feed(const unsigned char* data, std::size_t length) {
    std::vector<RxElement> out;
    while (length > 0) {
        // An unterminated frame that filled the buffer can never complete: drop it
        // rather than write past the end.
        if (rxFill == kCapacity)
            rxFill = 0;
        const std::size_t take = std::min(length, kCapacity - rxFill);
        Append(data, take);
        Parse(out);
        data += take;
        length -= take;
    }
    return out;
}

// A NUL is line noise (a frame never holds one) and would end the buffer's
// text early, hiding every byte behind it: it never enters the buffer.
void RxBuffer::Append(const unsigned char* data, std::size_t length) {
    unsigned char* end = std::remove_copy(data, data + length, rxBuffer.data() + rxFill, 0);
    rxFill = static_cast<std::size_t>(end - rxBuffer.data());
    rxBuffer[rxFill] = 0;
}

bool RxBuffer::HoldsCr() const {
    return std::strchr(Text(), CR) != nullptr;
}

// The head element is handled once per read; more only while a CR remains, so
// a lone ACK left at the end waits for the next read that brings data.
void RxBuffer::Parse(std::vector<RxElement>& out) {
    do {
        if (!DiscardToHead() || !HandleHead(out))
            return;
    } while (rxFill != 0 && HoldsCr());
}

bool RxBuffer::DiscardToHead() {
    const char* head = std::strpbrk(Text(), kHeads);
    if (head == nullptr) {
        rxFill = 0;
        rxBuffer[0] = 0;
        return false;
    }
    Consume(static_cast<std::size_t>(head - Text()));
    return true;
}

// False when the head is a frame still waiting for its CR.
bool RxBuffer::HandleHead(std::vector<RxElement>& out) {
    switch (rxBuffer[0]) {
    case ACK:
        out.push_back({RxElement::Kind::Ack, {}});
        Consume(1);
        return true;
    case NAK:
        out.push_back({RxElement::Kind::Nak, {}});
        Consume(1);
        return true;
    default: {
        const char* cr = std::strchr(Text(), CR);
        if (cr == nullptr)
            return false;
        const auto length = static_cast<std::size_t>(cr - Text()) + 1;
        std::string text;
        if (AcceptFrame(rxBuffer.data(), length, text))
            out.push_back({RxElement::Kind::Reply, std::move(text)});
        Consume(length);
        return true;
    }
    }
}

void RxBuffer::Consume(std::size_t count) {
    std::memmove(rxBuffer.data(), rxBuffer.data() + count, rxFill - count + 1);
    rxFill -= count;
}

bool AcceptFrame(const unsigned char* frame, std::size_t length, std::string& text) {
    // A frame needs room for the byte before the check digits; shorter ones
    // would have a negative text length.
    if (length < kShortestFrame)
        return false;
    const std::size_t digitsAt = length - 5;
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", FrameCrc(frame, digitsAt));
    for (std::size_t i = 0; i < 4; ++i) {
        if (std::toupper(frame[digitsAt + i]) != expected[i])
            return false;
    }
    // The byte before the check digits (ETX when well formed) is not examined.
    text.assign(reinterpret_cast<const char*>(frame) + 1, digitsAt - 2);
    return true;
}

} // namespace zrn
