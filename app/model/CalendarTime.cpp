#include "model/CalendarTime.h"

#include <cstdio>
#include <ctime>
#include <limits>

namespace zrn {

std::optional<std::int64_t> MakeLocalTime(const LocalDateTime& fields, int nDaylightFlag) {
    std::tm tm{};
    tm.tm_year = fields.year - 1900;
    tm.tm_mon = fields.month - 1;
    tm.tm_mday = fields.day;
    tm.tm_hour = fields.hour;
    tm.tm_min = fields.minute;
    tm.tm_sec = fields.second;
    tm.tm_isdst = nDaylightFlag;
    // mktime returns -1 both for failure and for 1969-12-31 23:59:59 UTC;
    // a cleared tm_wday that stays untouched tells the two apart.
    tm.tm_wday = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) && tm.tm_wday == -1)
        return std::nullopt;
    return static_cast<std::int64_t>(t);
}

std::optional<LocalDateTime> BreakLocalTime(std::int64_t t) {
    if (t < std::numeric_limits<std::time_t>::min() || t > std::numeric_limits<std::time_t>::max())
        return std::nullopt;
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &tt) != 0)
        return std::nullopt;
#else
    if (localtime_r(&tt, &tm) == nullptr)
        return std::nullopt;
#endif
    return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                         tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

std::int64_t WallClockSeconds(const LocalDateTime& f) {
    // Days since 1970-01-01 on the proleptic Gregorian calendar, counting
    // years from March so the leap day falls at the end of a year.
    const std::int64_t y = f.month <= 2 ? f.year - 1 : f.year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear =
        (153 * (f.month > 2 ? f.month - 3 : f.month + 9) + 2) / 5 + f.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + std::int64_t{f.hour} * 3600 + std::int64_t{f.minute} * 60 + f.second;
}

std::string FormatLocalTime(std::int64_t t, TimeText form) {
    const auto local = BreakLocalTime(t);
    if (!local)
        return {};
    // Built by hand: %p would follow the C locale, which Qt sets from the
    // environment, and the dialog's texts are fixed English forms.
    const int hour12 = local->hour % 12 == 0 ? 12 : local->hour % 12;
    const char* ampm = local->hour < 12 ? "AM" : "PM";
    char text[64];
    switch (form) {
    case TimeText::Date:
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", local->month, local->day, local->year);
        break;
    case TimeText::Time:
        std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", hour12, local->minute, local->second,
                      ampm);
        break;
    case TimeText::DateTime:
        std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d %s", local->month,
                      local->day, local->year, hour12, local->minute, local->second, ampm);
        break;
    case TimeText::Clock24:
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", local->hour, local->minute,
                      local->second);
        break;
    }
    return text;
}

SpanParts SplitSpan(std::int64_t ts) {
    const std::int64_t days = ts / 86400;
    const std::int64_t hours = ts / 3600;
    const std::int64_t minutes = ts / 60;
    return SpanParts{days, static_cast<int>(hours - days * 24),
                     static_cast<int>(minutes - hours * 60), static_cast<int>(ts - minutes * 60)};
}

std::int64_t MakeSpan(std::int64_t days, int hours, int minutes, int seconds) {
    return days * 86400 + std::int64_t{hours} * 3600 + std::int64_t{minutes} * 60 + seconds;
}

LocalDateTime EntryStartFields(const ScheduleEntry& e) {
    return {e.nStartYear + 2000, e.nStartMonth,  e.nStartDay,
            e.nStartHour,        e.nStartMinute, e.nStartSecond};
}

LocalDateTime EntryStopFields(const ScheduleEntry& e) {
    return {e.nStopYear + 2000, e.nStopMonth,  e.nStopDay,
            e.nStopHour,        e.nStopMinute, e.nStopSecond};
}

namespace {

struct DateTimeBytes {
    std::uint8_t& year;
    std::uint8_t& month;
    std::uint8_t& day;
    std::uint8_t& hour;
    std::uint8_t& minute;
    std::uint8_t& second;
};

void StoreLocal(DateTimeBytes bytes, std::int64_t t) {
    const auto local = BreakLocalTime(t);
    if (!local)
        return;
    bytes.year = static_cast<std::uint8_t>(local->year - 2000);
    bytes.month = static_cast<std::uint8_t>(local->month);
    bytes.day = static_cast<std::uint8_t>(local->day);
    bytes.hour = static_cast<std::uint8_t>(local->hour);
    bytes.minute = static_cast<std::uint8_t>(local->minute);
    bytes.second = static_cast<std::uint8_t>(local->second);
}

void StoreMinutesSeconds(std::uint8_t& minutes, std::uint8_t& seconds, std::int64_t ts) {
    const SpanParts parts = SplitSpan(ts);
    minutes = static_cast<std::uint8_t>(parts.minutes);
    seconds = static_cast<std::uint8_t>(parts.seconds);
}

} // namespace

void SetEntryStart(ScheduleEntry& e, std::int64_t t) {
    StoreLocal(
        {e.nStartYear, e.nStartMonth, e.nStartDay, e.nStartHour, e.nStartMinute, e.nStartSecond},
        t);
}

void SetEntryStop(ScheduleEntry& e, std::int64_t t) {
    StoreLocal({e.nStopYear, e.nStopMonth, e.nStopDay, e.nStopHour, e.nStopMinute, e.nStopSecond},
               t);
}

std::int64_t EntryInterval(const ScheduleEntry& e) {
    return MakeSpan(0, e.nIntervalHours, e.nIntervalMinutes, e.nIntervalSeconds);
}
std::int64_t EntryOpenValve(const ScheduleEntry& e) {
    return MakeSpan(0, 0, e.nValveMinutes, e.nValveSeconds);
}
std::int64_t EntrySampleHolding(const ScheduleEntry& e) {
    return MakeSpan(0, 0, e.nHoldMinutes, e.nHoldSeconds);
}
std::int64_t EntryPumpOn(const ScheduleEntry& e) {
    return MakeSpan(0, 0, e.nPumpMinutes, e.nPumpSeconds);
}

void SetEntryInterval(ScheduleEntry& e, std::int64_t ts) {
    const SpanParts parts = SplitSpan(ts);
    e.nIntervalHours = static_cast<std::uint8_t>(parts.hours);
    e.nIntervalMinutes = static_cast<std::uint8_t>(parts.minutes);
    e.nIntervalSeconds = static_cast<std::uint8_t>(parts.seconds);
}
void SetEntryOpenValve(ScheduleEntry& e, std::int64_t ts) {
    StoreMinutesSeconds(e.nValveMinutes, e.nValveSeconds, ts);
}
void SetEntrySampleHolding(ScheduleEntry& e, std::int64_t ts) {
    StoreMinutesSeconds(e.nHoldMinutes, e.nHoldSeconds, ts);
}
void SetEntryPumpOn(ScheduleEntry& e, std::int64_t ts) {
    StoreMinutesSeconds(e.nPumpMinutes, e.nPumpSeconds, ts);
}

void SetEntryTimes(ScheduleEntry& e, const EntryTimes& times) {
    SetEntryStart(e, times.tStart);
    SetEntryStop(e, times.tStop);
    SetEntryInterval(e, times.tsInterval);
    SetEntryOpenValve(e, times.tsOpenValve);
    SetEntrySampleHolding(e, times.tsSampleHolding);
    SetEntryPumpOn(e, times.tsPumpOn);
}

std::int64_t AlignDownLocal(std::int64_t t, int nStepMinutes) {
    const std::optional<LocalDateTime> local = BreakLocalTime(t);
    if (!local || nStepMinutes <= 0)
        return t;
    return t - (local->minute % nStepMinutes) * 60 - local->second;
}

} // namespace zrn
