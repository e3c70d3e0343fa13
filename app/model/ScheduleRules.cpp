#include "model/ScheduleRules.h"

#include <cstdio>

namespace zrn {

namespace {

// Replaces value by fallback when it lies outside [low, high].
bool Clamp(int& value, int low, int high, int fallback) {
    if (value >= low && value <= high)
        return false;
    value = fallback;
    return true;
}

void Emit(const LineSink& sink, std::string_view line) {
    if (sink)
        sink(line);
}

} // namespace

bool CheckDateTime(int& year, int& month, int& day, int& hour, int& minute, int& second,
                   const LineSink& trace) {
    bool corrected = Clamp(year, 1, 2037, 2005);
    corrected |= Clamp(month, 1, 12, 1);
    corrected |= Clamp(day, 1, 31, 1);
    corrected |= Clamp(hour, 0, 23, 0);
    corrected |= Clamp(minute, 0, 59, 0);
    corrected |= Clamp(second, 0, 59, 0);
    if (corrected) {
        char line[128];
        std::snprintf(line, sizeof line, "CZRNcomDlg/CheckDateTime; Error %d/%d/%d %d:%d:%d\n",
                      month, day, year, hour, minute, second);
        Emit(trace, line);
    }
    return corrected;
}

bool DeviceHolds(std::int64_t t) {
    const std::optional<LocalDateTime> local = BreakLocalTime(t);
    return local && local->year >= FIRST_DEVICE_TIME.year && local->year <= LAST_DEVICE_TIME.year;
}

bool CheckTimeSpan(int& days, int& hours, int& minutes, int& seconds, const LineSink& trace) {
    bool corrected = Clamp(days, 0, 25000, 0);
    corrected |= Clamp(hours, 0, 23, 0);
    corrected |= Clamp(minutes, 0, 59, 0);
    corrected |= Clamp(seconds, 0, 59, 0);
    if (corrected) {
        char line[128];
        std::snprintf(line, sizeof line, "CZRNcomDlg/CheckTimeSpan; Error %d %d:%d:%d\n", days,
                      hours, minutes, seconds);
        Emit(trace, line);
    }
    return corrected;
}

namespace {

// Range-checks the fields and converts them; the checked fields always fit
// the runtime, so the conversion cannot fail.
std::int64_t CheckedTime(LocalDateTime f, int nDaylightFlag, const LineSink& trace,
                         bool& corrected) {
    corrected |= CheckDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, trace);
    return MakeLocalTime(f, nDaylightFlag).value_or(0);
}

std::int64_t CheckedSpan(int hours, int minutes, int seconds, const LineSink& trace,
                         bool& corrected) {
    int days = 0;
    corrected |= CheckTimeSpan(days, hours, minutes, seconds, trace);
    return MakeSpan(days, hours, minutes, seconds);
}

} // namespace

CheckedEntry CheckEntry(const ScheduleEntry& e, int nDaylightFlag, const LineSink& trace,
                        EntryCheck check) {
    CheckedEntry out;
    out.tStart = CheckedTime(EntryStartFields(e), nDaylightFlag, trace, out.bCorrected);
    out.tStop = CheckedTime(EntryStopFields(e), nDaylightFlag, trace, out.bCorrected);
    out.tsInterval = CheckedSpan(e.nIntervalHours, e.nIntervalMinutes, e.nIntervalSeconds, trace,
                                 out.bCorrected);
    if (check == EntryCheck::Times) {
        out.tsOpenValve = EntryOpenValve(e);
        out.tsSampleHolding = EntrySampleHolding(e);
        out.tsPumpOn = EntryPumpOn(e);
        return out;
    }
    out.tsOpenValve = CheckedSpan(0, e.nValveMinutes, e.nValveSeconds, trace, out.bCorrected);
    out.tsSampleHolding = CheckedSpan(0, e.nHoldMinutes, e.nHoldSeconds, trace, out.bCorrected);
    out.tsPumpOn = CheckedSpan(0, e.nPumpMinutes, e.nPumpSeconds, trace, out.bCorrected);
    return out;
}

bool ValidateTableEntry(ScheduleTable& table, int nEntry, int nDaylightFlag,
                        const LineSink& appendLog, const LineSink& trace) {
    ScheduleEntry& entry = table.at(static_cast<std::size_t>(nEntry));
    if (!CheckEntry(entry, nDaylightFlag, trace).bCorrected)
        return true;
    char line[64];
    std::snprintf(line, sizeof line, "Schedule Entry %d has invalid value", nEntry);
    Emit(appendLog, line);
    entry.chStatus = STATUS_EMPTY;
    return false;
}

namespace {

// Closed intervals [a0, a1] and [b0, b1] share at least one instant.
bool Overlaps(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
    const bool apart = (a0 < b0 || a0 > b1) && (a1 < b0 || a1 > b1) && (b0 < a0 || b0 > a1) &&
                       (b1 < a0 || b1 > a1);
    return !apart;
}

} // namespace

int ValidateDateTimeStop(const ScheduleTable& table, int nExcludedEntry, std::int64_t tZrnClock,
                         std::int64_t tStart, std::int64_t tStop, int nDaylightFlag,
                         const LineSink& appendLog) {
    const TimeScale local = [nDaylightFlag](const LocalDateTime& fields) {
        return MakeLocalTime(fields, nDaylightFlag);
    };
    return ValidateDateTimeStop(table, nExcludedEntry, tZrnClock, tStart, tStop, local, appendLog);
}

int ValidateDateTimeStop(const ScheduleTable& table, int nExcludedEntry, std::int64_t tZrnClock,
                         std::int64_t tStart, std::int64_t tStop, const TimeScale& scale,
                         const LineSink& appendLog) {
    if (tStop <= tStart) {
        Emit(appendLog, "ValidateDateTimeStop/ Stop is before Start");
        return STOP_NOT_AFTER_START;
    }
    if (tZrnClock >= tStop)
        return STOP_NOT_AFTER_ZRN_CLOCK;
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i) {
        const ScheduleEntry& entry = table[static_cast<std::size_t>(i)];
        if (i == nExcludedEntry || entry.chStatus != STATUS_ACTIVE)
            continue;
        const auto start = scale(EntryStartFields(entry));
        const auto stop = scale(EntryStopFields(entry));
        // An active entry whose times cannot be built is treated as in the way.
        if (!start || !stop || Overlaps(tStart, tStop, *start, *stop))
            return i;
    }
    return VALID_START_STOP;
}

} // namespace zrn
