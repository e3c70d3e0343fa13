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
DeviceResult ShowClock(Device& device);
DeviceResult SyncClock(Device& device);
DeviceResult SetSdi(Device& device, const SdiChange& change);

// Sets each SDI setting given and checks the device's answer; the lines that
// say what it now holds.
std::vector<std::string> ApplySdi(Device& device, const SdiChange& change);

} // namespace zrnctl
