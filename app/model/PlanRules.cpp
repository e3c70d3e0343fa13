#include "model/PlanRules.h"

namespace zrn {
namespace {

std::string Outside(const char* what, int value, const char* range) {
    return std::string(what) + " " + std::to_string(value) + " is outside " + range;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

} // namespace

Fault SpanFault(const Span& span) {
    int days = 0;
    Span checked = span;
    if (!CheckTimeSpan(days, checked.hours, checked.minutes, checked.seconds, {}))
        return std::nullopt;
    if (checked.hours != span.hours)
        return Outside("hours", span.hours, "0-23");
    if (checked.minutes != span.minutes)
        return Outside("minutes", span.minutes, "0-59");
    return Outside("seconds", span.seconds, "0-59");
}

Fault DateTimeFault(const LocalDateTime& t) {
    LocalDateTime c = t;
    if (CheckDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second, {})) {
        if (c.month != t.month)
            return Outside("month", t.month, "1-12");
        if (c.hour != t.hour)
            return Outside("hour", t.hour, "0-23");
        if (c.minute != t.minute)
            return Outside("minute", t.minute, "0-59");
        if (c.second != t.second)
            return Outside("second", t.second, "0-59");
    }
    // The wire carries the year in two digits counted from 2000.
    if (t.year < FIRST_YEAR || t.year > LAST_YEAR)
        return Outside("year", t.year, "2000-2037");
    if (t.day < 1 || t.day > DaysInMonth(t.year, t.month))
        return "day " + std::to_string(t.day) + " does not exist in that month";
    return std::nullopt;
}

Fault SdiDurationFault(const Span& span) {
    if (span.seconds > 59)
        return Outside("seconds", span.seconds, "0-59");
    const int total = span.minutes * 60 + span.seconds;
    if (total > MAX_SDI_DURATION)
        return std::to_string(total) + " seconds is more than " + std::to_string(MAX_SDI_DURATION);
    return std::nullopt;
}

Fault AddressFault(char ch) {
    if (ch == '?' || !IsAcceptableAddress(ch))
        return std::string("\"") + ch + "\" is not an address from 0 to 9";
    return std::nullopt;
}

Fault DelayFault(int nDelay) {
    if (!DelaySetCommand(nDelay))
        return Outside("delay", nDelay, "0-999");
    return std::nullopt;
}

} // namespace zrn
