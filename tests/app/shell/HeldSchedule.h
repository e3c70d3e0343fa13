#pragma once
// A schedule as zrnsim holds it (its --state-out), in the program's terms.
#include "DeviceState.h"
#include "model/ScheduleEntry.h"

#include <cstdint>

inline zrn::ScheduleEntry FromDevice(const zrnsim::ScheduleEntry& held, int number) {
    zrn::ScheduleEntry e{};
    e.nNumber = static_cast<std::uint8_t>(number);
    const auto byte = [&](std::size_t field, std::size_t part) {
        return static_cast<std::uint8_t>(held.fields[field][part]);
    };
    e.nStartMonth = byte(0, 0), e.nStartDay = byte(0, 1), e.nStartYear = byte(0, 2);
    e.nStartHour = byte(1, 0), e.nStartMinute = byte(1, 1), e.nStartSecond = byte(1, 2);
    e.nStopMonth = byte(2, 0), e.nStopDay = byte(2, 1), e.nStopYear = byte(2, 2);
    e.nStopHour = byte(3, 0), e.nStopMinute = byte(3, 1), e.nStopSecond = byte(3, 2);
    e.nIntervalHours = byte(4, 0), e.nIntervalMinutes = byte(4, 1), e.nIntervalSeconds = byte(4, 2);
    e.nValveMinutes = byte(5, 1), e.nValveSeconds = byte(5, 2);
    e.nHoldMinutes = byte(6, 1), e.nHoldSeconds = byte(6, 2);
    e.nPumpMinutes = byte(7, 1), e.nPumpSeconds = byte(7, 2);
    e.chStatus = static_cast<std::uint8_t>(held.status);
    return e;
}
