#pragma once
// What a device holds beside what a plan wants, field by field, in the plan
// file's names. Shared by plan diff, the import (which writes only what
// differs) and its dry run.

#include "Device.h"
#include "Model.h"

#include <optional>
#include <string>
#include <vector>

namespace zrnctl {

struct Difference {
    std::optional<int> schedule; // none for an SDI setting
    std::string field;           // "start", or "sdi.delay"
    Json device;
    Json plan;
};

// Nothing when the device holds the planned entry. An empty entry has no
// values, so against one only the status counts.
std::vector<Difference> ScheduleDifferences(const zrn::ScheduleEntry& held,
                                            const zrn::ScheduleEntry& planned);
// The settings the plan gives that the device holds otherwise.
std::vector<Difference> SdiDifferences(const SdiSettings& held, const SdiChange& planned);
// Only the settings of `planned` that differ from what is held.
SdiChange SdiToChange(const SdiSettings& held, const SdiChange& planned);

// [{"schedule", "field", "device", "plan"}], "schedule" null for an SDI setting.
Json DifferencesJson(const std::vector<Difference>& differences);
// "schedule 1 start: device 2027-06-02T08:00:00, plan 2027-06-20T07:00:00"
std::vector<std::string> DifferenceLines(const std::vector<Difference>& differences);

} // namespace zrnctl
