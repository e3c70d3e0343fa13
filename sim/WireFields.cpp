#include "WireFields.h"

#include <cstdio>

namespace zrnsim {
namespace {

std::optional<int> TwoDigits(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return std::nullopt;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

std::optional<Triple> ParseTriple(std::string_view text, char separator) {
    if (text.size() != 8 || text[2] != separator || text[5] != separator)
        return std::nullopt;
    Triple value{};
    for (int i = 0; i < 3; ++i) {
        const auto number = TwoDigits(text.substr(static_cast<std::size_t>(i) * 3, 2));
        if (!number)
            return std::nullopt;
        value[static_cast<std::size_t>(i)] = *number;
    }
    return value;
}

} // namespace

std::optional<std::vector<Triple>> ParseBarFields(std::string_view text,
                                                  std::string_view separators) {
    std::vector<Triple> fields;
    for (const char separator : separators) {
        if (text.empty() || text[0] != '|')
            return std::nullopt;
        const auto triple = ParseTriple(text.substr(1, 8), separator);
        if (!triple)
            return std::nullopt;
        fields.push_back(*triple);
        text.remove_prefix(std::min<std::size_t>(9, text.size()));
    }
    if (text != "|")
        return std::nullopt;
    return fields;
}

std::string FormatTriple(const Triple& value, char separator) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", value[0], separator, value[1], separator,
                  value[2]);
    return text;
}

bool IsCalendarDate(const Triple& monthDayYear) {
    const auto [month, day, year] = monthDayYear;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || year < 0 || year > 99)
        return false;
    // Two-digit years are 2000-2099, where every fourth year is a leap year.
    const int length = kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
    return day <= length;
}

bool IsTimeOfDay(const Triple& hms) {
    return hms[0] >= 0 && hms[0] <= 23 && hms[1] >= 0 && hms[1] <= 59 && hms[2] >= 0 &&
           hms[2] <= 59;
}

} // namespace zrnsim
