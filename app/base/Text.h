#pragma once
// Small text helpers shared by the readers of replies, profiles and tables.

#include <string_view>
#include <vector>

namespace zrn {

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool LessIgnoreCase(std::string_view a, std::string_view b);

std::string_view TrimBlanks(std::string_view text);

// The non-empty pieces between separators, in order.
std::vector<std::string_view> SplitNonEmpty(std::string_view text, char separator);

// Optional sign, then the leading digits (0 when there are none); with
// bBasePrefix, "0x", "0o" and "0b" select base 16, 8 and 2 as Windows' profile
// reader does. Saturates at the int range instead of overflowing.
int LeadingInteger(std::string_view text, bool bBasePrefix = false);

} // namespace zrn
