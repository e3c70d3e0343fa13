#pragma once
// What the command line asks zrnctl to do.

#include "Model.h"

#include <optional>
#include <string>
#include <vector>

namespace zrnctl {

enum class Action {
    Info,
    PlanExport,
    PlanImport,
    PlanDiff,
    ClockShow,
    ClockCheck,
    ClockSync,
    SdiSet,
    Ports,
    Log,
};

struct Request {
    Action action = Action::Info;
    std::vector<std::string> ports; // --port, in the order given; empty: find the devices
    bool json = false;
    std::string file; // plan export, import and diff
    bool dryRun = false;
    SdiChange sdi;
    int maxDrift = 2;               // clock check, seconds
    std::optional<int> ifDriftOver; // clock sync, seconds
    std::string since;              // log: UTC, as the journal writes it; empty: all
    bool probe = false;             // a port from the scan: see first that a device answers
};

} // namespace zrnctl
