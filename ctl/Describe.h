#pragma once
// Values as zrnctl shows them to people and scripts.

#include "Device.h"
#include "Model.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zrnctl {

// The PC's local wall-clock time now.
zrn::LocalDateTime PcClock();
// Seconds the device's wall clock is ahead of the PC's (negative: behind).
std::int64_t DeviceAhead(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc);
// {"device", "pc", "device_ahead_seconds"} and its line for people.
Json ClockJson(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc);
std::string ClockLine(const zrn::LocalDateTime& device, const zrn::LocalDateTime& pc);

// "2:07" of a version reply; nothing when it cannot be read.
std::optional<std::string> FirmwareText(const std::string& reply);

// "01:30" of 90 seconds, the form of the SDI durations.
std::string SecondsText(int seconds);

Json SdiJson(const SdiSettings& sdi);
std::string SdiLine(const SdiSettings& sdi);

} // namespace zrnctl
