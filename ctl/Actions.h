#pragma once
// What zrnctl does on one port, each action on a device that has answered the
// probe. An action throws DeviceFailure when a command goes wrong; the import
// catches its own, to report what each schedule holds.

#include "Device.h"
#include "Request.h"
#include "Result.h"

#include <string>

namespace zrnctl {

// Opens the port, probes it and runs the request's action; never throws.
DeviceResult RunOnPort(const Request& request, const std::string& port);

DeviceResult ReadInfo(Device& device);
DeviceResult ExportPlan(Device& device, const std::string& file);
DeviceResult ImportPlan(Device& device, const Plan& plan, bool dryRun);
// The device beside the plan, field by field: Done ("same") or Differs.
DeviceResult DiffPlan(Device& device, const Plan& plan);
DeviceResult ShowClock(Device& device);
// Done within maxDrift seconds of the PC, else Differs; sends nothing.
DeviceResult CheckClock(Device& device, int maxDrift);
// Sets the clock to the PC's until they agree; with ifDriftOver, only when
// the clock is more than that many seconds off.
DeviceResult SyncClock(Device& device, std::optional<int> ifDriftOver = std::nullopt);
DeviceResult SetSdi(Device& device, const SdiChange& change);

// Sets each SDI setting given and checks the device's answer; the lines that
// say what it now holds. held: what the device holds, when already read (the
// journal's "before").
std::vector<std::string> ApplySdi(Device& device, const SdiChange& change,
                                  std::optional<SdiSettings> held = std::nullopt);

} // namespace zrnctl
