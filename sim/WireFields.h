#pragma once
// Field forms of the device's messages: "|dd/dd/dd|" dates, "|dd:dd:dd|" times.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrnsim {

using Triple = std::array<int, 3>;

// Reads "|a|b|...|" where each piece is three two-digit numbers joined by the
// matching separator; anything else (other widths, signs, spaces) is refused.
std::optional<std::vector<Triple>> ParseBarFields(std::string_view text,
                                                  std::string_view separators);

// "%02d<sep>%02d<sep>%02d".
std::string FormatTriple(const Triple& value, char separator);

// Month, day, two-digit year (2000-2099).
bool IsCalendarDate(const Triple& monthDayYear);
bool IsTimeOfDay(const Triple& hms);

} // namespace zrnsim
