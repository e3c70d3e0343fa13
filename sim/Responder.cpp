#include "Responder.h"

#include "FrameCrc.h"

#include <cctype>

namespace zrnsim {
namespace {

Element Byte(Element::Kind kind, unsigned char b) {
    return {kind, std::string(1, static_cast<char>(b)), {}};
}

} // namespace

Responder::Responder(Device& device, const FaultPlan& plan) : device_(device), faults_(plan) {}

std::vector<Element> Responder::Answer(const ReceivedFrame& frame) {
    std::vector<Element> out;
    keptOld_ = false;
    if (faults_.Silent())
        return out;
    if (!frame.intact) {
        Put(out, Byte(Element::Kind::Nak, zrn::NAK));
        return out;
    }
    // Decided before the command runs: a refused command must change nothing.
    if (faults_.Nak()) {
        Put(out, Byte(Element::Kind::Nak, zrn::NAK));
        return out;
    }
    const DeviceState before = device_.State();
    const zrnsim::Answer answer = device_.Handle(frame.text);
    if (answer.accepted && !SameStoredValues(before, device_.State()) && faults_.KeepOld()) {
        device_.LoseWrite(before);
        keptOld_ = true;
    }
    if (faults_.Drop())
        return {};
    Put(out, Byte(answer.accepted ? Element::Kind::Ack : Element::Kind::Nak,
                  answer.accepted ? zrn::ACK : zrn::NAK));
    if (answer.reply)
        Put(out, ReplyFrame(*answer.reply));
    return out;
}

void Responder::Put(std::vector<Element>& out, Element element) {
    if (std::string noise = faults_.Noise(); !noise.empty())
        out.push_back({Element::Kind::Noise, std::move(noise), {}});
    out.push_back(std::move(element));
}

Element Responder::ReplyFrame(const std::string& text) {
    std::string frame = zrn::BuildFrame(text);
    const std::size_t digits = frame.size() - 5;
    if (faults_.BadCrc()) {
        // Flip the last digit to another hexadecimal digit: still looks like a checksum.
        char& last = frame[digits + 3];
        last = last == '0' ? '1' : '0';
    }
    if (faults_.LowerCase()) {
        for (std::size_t i = digits; i < digits + 4; ++i)
            frame[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(frame[i])));
    }
    return {Element::Kind::Reply, std::move(frame), text};
}

} // namespace zrnsim
