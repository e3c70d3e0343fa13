#include "model/PlanCheck.h"

#include "model/PlanText.h"
#include "model/ScheduleRules.h"

#include <limits>

namespace zrn {
namespace {

// Start and stop are wall-clock readings: compare them as such.
const TimeScale kWallClock = [](const LocalDateTime& fields) {
    return std::optional<std::int64_t>(WallClockSeconds(fields));
};

const PlannedSchedule* Listed(const Plan& plan, int number) {
    for (const PlannedSchedule& planned : plan.schedules)
        if (planned.entry.nNumber == number)
            return &planned;
    return nullptr;
}

} // namespace

std::optional<Refusal> CheckPlanFits(const Plan& plan, const ScheduleTable& device,
                                     const std::optional<LocalDateTime>& deviceClock) {
    ScheduleTable after = device;
    for (const PlannedSchedule& planned : plan.schedules)
        after[planned.entry.nNumber - 1u] = planned.entry;
    const std::int64_t tClock =
        deviceClock ? WallClockSeconds(*deviceClock) : std::numeric_limits<std::int64_t>::min();
    for (const PlannedSchedule& planned : plan.schedules) {
        const ScheduleEntry& e = planned.entry;
        if (e.chStatus != STATUS_ACTIVE)
            continue;
        const LocalDateTime start = EntryStartFields(e);
        const LocalDateTime stop = EntryStopFields(e);
        const int verdict =
            ValidateDateTimeStop(after, e.nNumber - 1, tClock, WallClockSeconds(start),
                                 WallClockSeconds(stop), kWallClock, {});
        if (verdict == VALID_START_STOP)
            continue;
        if (verdict == STOP_NOT_AFTER_ZRN_CLOCK)
            return Refusal{ScheduleKey(planned, "stop"), DateTimeText(stop) +
                                                             " has passed on the device clock (" +
                                                             DateTimeText(*deviceClock) + ")"};
        if (verdict >= STOP_NOT_AFTER_START)
            return Refusal{ScheduleKey(planned, "stop"), "not after the start"};
        const int other = verdict + 1;
        const PlannedSchedule* rival = Listed(plan, other);
        return Refusal{ScheduleKey(planned),
                       "active from " + DateTimeText(start) + " to " + DateTimeText(stop) +
                           " overlaps active schedule " + std::to_string(other) +
                           (rival ? " (" + ScheduleKey(*rival) + ")" : " on the device")};
    }
    return std::nullopt;
}

} // namespace zrn
