#pragma once
// Plans and device tables of whole-minute entries in June 2027, for the tests
// of the plan rules and of the import policy.
#include "model/CalendarTime.h"
#include "model/Plan.h"
#include "model/ScheduleEntry.h"

#include <cstdint>
#include <initializer_list>

namespace zrn::plantest {

inline zrn::ScheduleEntry Entry(int n, char status, zrn::LocalDateTime start,
                                zrn::LocalDateTime stop) {
    zrn::ScheduleEntry e{};
    e.nNumber = static_cast<std::uint8_t>(n);
    e.chStatus = static_cast<std::uint8_t>(status);
    const auto b = [](int v) { return static_cast<std::uint8_t>(v); };
    e.nStartYear = b(start.year - 2000), e.nStartMonth = b(start.month), e.nStartDay = b(start.day);
    e.nStartHour = b(start.hour), e.nStartMinute = b(start.minute);
    e.nStartSecond = b(start.second);
    e.nStopYear = b(stop.year - 2000), e.nStopMonth = b(stop.month), e.nStopDay = b(stop.day);
    e.nStopHour = b(stop.hour), e.nStopMinute = b(stop.minute), e.nStopSecond = b(stop.second);
    return e;
}

inline zrn::LocalDateTime At(int day, int hour, int minute = 0, int second = 0) {
    return {2027, 6, day, hour, minute, second};
}

inline zrn::ScheduleTable EmptyDevice() {
    zrn::ScheduleTable table{};
    for (int n = 1; n <= 4; ++n)
        table[n - 1u] = Entry(n, '0', At(1, 0), At(1, 0));
    return table;
}

inline Plan PlanOf(std::initializer_list<zrn::ScheduleEntry> entries) {
    Plan plan;
    int index = 0;
    for (const zrn::ScheduleEntry& e : entries)
        plan.schedules.push_back({index++, e});
    return plan;
}

} // namespace zrn::plantest
