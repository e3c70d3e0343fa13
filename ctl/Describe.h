#pragma once
// Values as zrnctl shows them to people and scripts.

#include "Device.h"
#include "Model.h"

#include <string>

namespace zrnctl {

// The PC's local wall-clock time now.
zrn::LocalDateTime PcClock();
// {"device", "pc", "device_ahead_seconds"} and its line for people.
Json ClockJson(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc);
std::string ClockLine(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc);

// "01:30" of 90 seconds, the form of the SDI durations.
std::string SecondsText(int seconds);

Json SdiJson(const SdiSettings& sdi);
std::string SdiLine(const SdiSettings& sdi);

} // namespace zrnctl
