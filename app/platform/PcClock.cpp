#include "platform/PcClock.h"

#include <ctime>
#include <utility>

namespace {
PcClockSource source;
}

std::int64_t PcTime() {
    return source ? source() : static_cast<std::int64_t>(std::time(nullptr));
}

PcClockSource SetPcClock(PcClockSource replacement) {
    return std::exchange(source, std::move(replacement));
}
