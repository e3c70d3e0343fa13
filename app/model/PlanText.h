#pragma once
// The text forms of a plan's values. Start and stop are the device's local
// wall-clock readings with no offset: they go between text and entry fields
// directly, never through a calendar time that a daylight-saving change could
// move by an hour.

#include "model/CalendarTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// "2027-03-03T07:00:00"; digits in each place, values not checked.
std::string DateTimeText(const LocalDateTime& t);
std::optional<LocalDateTime> ParseDateTime(std::string_view text);

// A span as "hh:mm:ss" (the interval) or "mm:ss" (valve, hold, pump).
struct Span {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
std::string HoursText(const Span& span);
std::string MinutesText(const Span& span);
std::optional<Span> ParseHours(std::string_view text);
std::optional<Span> ParseMinutes(std::string_view text);

} // namespace zrn
