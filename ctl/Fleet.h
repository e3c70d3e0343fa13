#pragma once
// Several devices at once. The link library keeps one link per process, and
// each port is a line of its own, so zrnctl runs a copy of itself per port,
// all at the same time, and gathers one result from each.

#include "Request.h"
#include "Result.h"

#include <string>
#include <vector>

namespace zrnctl {

// One result per port, in the order of ports. probe: the ports come from the
// scan, so a port without a device is no failure.
std::vector<DeviceResult> RunOnPorts(const Request& request, const std::vector<std::string>& ports,
                                     bool probe);

// The command line of the copy for one port.
std::vector<std::string> WorkerArguments(const Request& request, const std::string& port,
                                         bool probe);

} // namespace zrnctl
