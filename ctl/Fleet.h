#pragma once
// Several devices at once. Each port is a line of its own, with a link handle
// of its own, so every port gets a thread of its own in this one process.

#include "Request.h"
#include "Result.h"

#include <string>
#include <vector>

namespace zrnctl {

// One result per port, in the order of ports. probe: the ports come from the
// scan, so a port without a device is no failure.
std::vector<DeviceResult> RunOnPorts(const Request& request, const std::vector<std::string>& ports,
                                     bool probe);

} // namespace zrnctl
