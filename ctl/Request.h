#pragma once
// What the command line asks zrnctl to do.

#include "Model.h"

#include <string>
#include <vector>

namespace zrnctl {

enum class Action { Info, PlanExport, PlanImport, ClockShow, ClockSync, SdiSet, Ports };

struct Request {
    Action action = Action::Info;
    std::vector<std::string> ports; // --port, in the order given; empty: find the devices
    bool json = false;
    std::string file; // plan export and import
    bool dryRun = false;
    SdiChange sdi;
    bool probe = false; // a port from the scan: see first that a device answers
};

} // namespace zrnctl
