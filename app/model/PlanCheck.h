#pragma once
// Whether a plan fits a device: no two active schedules overlap, counting the
// schedules the device holds that the plan does not list, and no active one
// has already ended on the device's clock (the dialog's activation rule).

#include "model/CalendarTime.h"
#include "model/Plan.h"

#include <optional>

namespace zrn {

// device: what the device holds (only the schedules the plan leaves alone
// count); deviceClock: its clock, or nothing to leave the clock out, as for a
// file checked before any device is read.
std::optional<Refusal> CheckPlanFits(const Plan& plan, const ScheduleTable& device,
                                     const std::optional<LocalDateTime>& deviceClock);

} // namespace zrn
