#pragma once
// Turns each received frame into the elements the device puts on the line,
// applying the planned faults.

#include "Device.h"
#include "Faults.h"
#include "FrameReader.h"

#include <string>
#include <vector>

namespace zrnsim {

struct Element {
    enum class Kind { Ack, Nak, Reply, Noise };
    Kind kind;
    std::string bytes; // what goes on the line
    std::string text;  // the reply text, for the trace
};

class Responder {
public:
    Responder(Device& device, const FaultPlan& plan);

    std::vector<Element> Answer(const ReceivedFrame& frame);
    // Whether the last frame's command was acknowledged but its write lost.
    bool KeptOldValue() const { return keptOld_; }

private:
    void Put(std::vector<Element>& out, Element element);
    Element ReplyFrame(const std::string& text);

    Device& device_;
    FaultInjector faults_;
    bool keptOld_ = false;
};

} // namespace zrnsim
