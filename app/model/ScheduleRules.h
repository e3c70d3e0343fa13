#pragma once
// Range checks, defaults, the table "full" test and the activation (conflict)
// rule of the schedule table. Traces and operator log lines go through
// callbacks so the dialog decides where they land and tests can read them.

#include "model/CalendarTime.h"
#include "model/ScheduleEntry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace zrn {

// One line of text; an empty function drops the line.
using LineSink = std::function<void(std::string_view)>;

// Replaces out-of-range values (year 1..2037 else 2005, month 1..12 else 1,
// day 1..31 else 1, hour/minute/second else 0); true when anything changed.
// Traces "CZRNcomDlg/CheckDateTime; Error %d/%d/%d %d:%d:%d\n" when it did.
bool CheckDateTime(int& year, int& month, int& day, int& hour, int& minute, int& second,
                   const LineSink& trace);

// The instants an entry can hold: two-digit years on the wire, and no year past
// 2037 in the range check (the device's own limit).
inline constexpr LocalDateTime FIRST_DEVICE_TIME{2000, 1, 1, 0, 0, 0};
inline constexpr LocalDateTime LAST_DEVICE_TIME{2037, 12, 31, 23, 59, 59};
// t's local year lies within 2000..2037.
bool DeviceHolds(std::int64_t t);

// Days 0..25000, hours 0..23, minutes and seconds 0..59, else 0; true when
// anything changed. Traces "CZRNcomDlg/CheckTimeSpan; Error %d %d:%d:%d\n".
bool CheckTimeSpan(int& days, int& hours, int& minutes, int& seconds, const LineSink& trace);

// An entry's times after the range checks. The list checks start, stop and
// interval; the selection also passes valve, hold and pump through
// CheckTimeSpan. Unchecked durations are taken as stored.
enum class EntryCheck { Times, TimesAndDurations };
struct CheckedEntry : EntryTimes {
    bool bCorrected = false; // some check replaced a value
};
CheckedEntry CheckEntry(const ScheduleEntry& entry, int nDaylightFlag, const LineSink& trace,
                        EntryCheck check = EntryCheck::Times);

// The list-refresh rule for entry index nEntry: when a check corrects a value, log
// "Schedule Entry %d has invalid value" and empty the entry. True when valid.
bool ValidateTableEntry(ScheduleTable& table, int nEntry, int nDaylightFlag,
                        const LineSink& appendLog, const LineSink& trace);

inline constexpr int VALID_START_STOP = -1;
inline constexpr int STOP_NOT_AFTER_START = 10;
inline constexpr int STOP_NOT_AFTER_ZRN_CLOCK = 12;

// -1 when [tStart, tStop] may be activated; STOP_NOT_AFTER_START (logging
// "ValidateDateTimeStop/ Stop is before Start"), STOP_NOT_AFTER_ZRN_CLOCK, or
// the index of the first active entry (other than nExcludedEntry) whose closed
// interval shares an instant with it.
int ValidateDateTimeStop(const ScheduleTable& table, int nExcludedEntry, std::int64_t tZrnClock,
                         std::int64_t tStart, std::int64_t tStop, int nDaylightFlag,
                         const LineSink& appendLog);

// The same rule on the caller's time scale: scale turns an entry's local
// fields into the values of tZrnClock, tStart and tStop (empty when it
// cannot). The rule above is this one with MakeLocalTime(nDaylightFlag).
using TimeScale = std::function<std::optional<std::int64_t>(const LocalDateTime&)>;
int ValidateDateTimeStop(const ScheduleTable& table, int nExcludedEntry, std::int64_t tZrnClock,
                         std::int64_t tStart, std::int64_t tStop, const TimeScale& scale,
                         const LineSink& appendLog);

} // namespace zrn
