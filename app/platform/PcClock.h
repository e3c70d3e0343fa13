#pragma once
// The PC clock as the program reads it, in whole seconds since 1970. Every
// "now" of the dialog comes from here, so tests can drive the timers and the
// clock panel through time (backwards included) without waiting.
#include <cstdint>
#include <functional>

using PcClockSource = std::function<std::int64_t()>;

std::int64_t PcTime();
// Replaces the source (an empty function restores the real clock); returns the previous one.
PcClockSource SetPcClock(PcClockSource source);
