#include "Faults.h"

#include "FrameCrc.h"

namespace zrnsim {

std::uint64_t Rng::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

bool Rng::Chance(double rate) {
    if (rate <= 0)
        return false;
    return static_cast<double>(Next() >> 11) * 0x1.0p-53 < rate;
}

FaultInjector::FaultInjector(const FaultPlan& plan)
    : plan_(plan), nak_(plan.seed ^ 0x4E414B), badCrc_(plan.seed ^ 0x435243),
      noise_(plan.seed ^ 0x4E4F49), drop_(plan.seed ^ 0x44524F), lowerCase_(plan.seed ^ 0x4C4F57),
      keepOld_(plan.seed ^ 0x4B4550) {}

std::string FaultInjector::Noise() {
    if (!noise_.Chance(plan_.noiseRate))
        return {};
    // Bytes the PC would take for an element are not noise; NUL would hide the rest of its buffer.
    std::string bytes(1 + noise_.Below(4), '\0');
    for (char& byte : bytes) {
        unsigned char b;
        do {
            b = static_cast<unsigned char>(noise_.Below(256));
        } while (b == 0 || b == zrn::STX || b == zrn::ACK || b == zrn::NAK);
        byte = static_cast<char>(b);
    }
    return bytes;
}

bool FaultInjector::Silent() {
    ++frames_;
    return plan_.silentAfter && frames_ > *plan_.silentAfter;
}

} // namespace zrnsim
