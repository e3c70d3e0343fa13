#include "model/PlanText.h"

#include <cstdio>

namespace zrn {
namespace {

// Two or four decimal digits at pos; nullopt for anything else.
std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size())
        return std::nullopt;
    int value = 0;
    for (const char c : text.substr(pos, count)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Text of exactly the pattern's length, with the pattern's separators in place
// of its non-'d' characters.
bool Shaped(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] != 'd' && text[i] != pattern[i])
            return false;
    return true;
}

} // namespace

std::string DateTimeText(const LocalDateTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::optional<LocalDateTime> ParseDateTime(std::string_view text) {
    if (!Shaped(text, "dddd-dd-ddTdd:dd:dd"))
        return std::nullopt;
    const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
    const auto second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    return LocalDateTime{*year, *month, *day, *hour, *minute, *second};
}

std::string HoursText(const Span& span) {
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", span.hours, span.minutes, span.seconds);
    return text;
}

std::string MinutesText(const Span& span) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", span.minutes, span.seconds);
    return text;
}

std::optional<Span> ParseHours(std::string_view text) {
    if (!Shaped(text, "dd:dd:dd"))
        return std::nullopt;
    const auto h = Digits(text, 0, 2), m = Digits(text, 3, 2), s = Digits(text, 6, 2);
    if (!h || !m || !s)
        return std::nullopt;
    return Span{*h, *m, *s};
}

std::optional<Span> ParseMinutes(std::string_view text) {
    if (!Shaped(text, "dd:dd"))
        return std::nullopt;
    const auto m = Digits(text, 0, 2), s = Digits(text, 3, 2);
    if (!m || !s)
        return std::nullopt;
    return Span{0, *m, *s};
}

} // namespace zrn
