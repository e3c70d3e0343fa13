#pragma once
// Conversions between broken-down local fields, calendar times (seconds since
// 1970 UTC) and spans, and between them and the fields of a ScheduleEntry.

#include "model/ScheduleEntry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zrn {

// Full year (2026, not 26), month 1..12, day 1..31, 24-hour time.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const LocalDateTime&) const = default;
};

// Local time from fields (mktime with tm_isdst = nDaylightFlag). Out-of-range
// fields are normalised (31 April -> 1 May). Empty when the runtime cannot
// represent the result.
std::optional<std::int64_t> MakeLocalTime(const LocalDateTime& fields, int nDaylightFlag = -1);

// Local fields of a calendar time (localtime_r); empty when out of range.
std::optional<LocalDateTime> BreakLocalTime(std::int64_t t);

// Local fields counted in seconds on a calendar without offsets or daylight
// saving (fields taken as they are, not normalised). Orders wall-clock
// readings as the device does: no gap or fold around a daylight-saving change.
std::int64_t WallClockSeconds(const LocalDateTime& fields);

// t moved back to a multiple of nStepMinutes within its local hour (15, 30) or
// to the whole local hour (60): t less (minute mod step) minutes and its
// seconds. t unchanged when it cannot be broken down.
std::int64_t AlignDownLocal(std::int64_t t, int nStepMinutes);

// The program's display forms, independent of the C locale's AM/PM words.
enum class TimeText {
    Date,     // "%m/%d/%Y"
    Time,     // "%I:%M:%S %p"
    DateTime, // "%m/%d/%Y %I:%M:%S %p"
    Clock24,  // "%H:%M:%S"
};
// Empty text when t cannot be broken down.
std::string FormatLocalTime(std::int64_t t, TimeText form);

// A span split as the device counts it: hours within the day, minutes within
// the hour, seconds within the minute.
struct SpanParts {
    std::int64_t days = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
SpanParts SplitSpan(std::int64_t ts);
std::int64_t MakeSpan(std::int64_t days, int hours, int minutes, int seconds);

// Entry fields <-> local fields (year stored as year - 2000). No range checks.
LocalDateTime EntryStartFields(const ScheduleEntry& entry);
LocalDateTime EntryStopFields(const ScheduleEntry& entry);
// Store the local fields of t; the entry is left unchanged when t cannot be
// broken down.
void SetEntryStart(ScheduleEntry& entry, std::int64_t t);
void SetEntryStop(ScheduleEntry& entry, std::int64_t t);

// Spans of an entry, as stored (no range checks).
std::int64_t EntryInterval(const ScheduleEntry& entry);
std::int64_t EntryOpenValve(const ScheduleEntry& entry);
std::int64_t EntrySampleHolding(const ScheduleEntry& entry);
std::int64_t EntryPumpOn(const ScheduleEntry& entry);
// Interval keeps hours within the day; the durations keep minutes within the
// hour and drop any hours.
void SetEntryInterval(ScheduleEntry& entry, std::int64_t ts);
void SetEntryOpenValve(ScheduleEntry& entry, std::int64_t ts);
void SetEntrySampleHolding(ScheduleEntry& entry, std::int64_t ts);
void SetEntryPumpOn(ScheduleEntry& entry, std::int64_t ts);
// All six of them.
void SetEntryTimes(ScheduleEntry& entry, const EntryTimes& times);

} // namespace zrn
