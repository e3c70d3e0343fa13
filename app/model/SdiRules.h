#pragma once
// The SDI row's rules: what leaving a box sends, what a reply shows, and the
// checks of the identification fields. No dialog here; the handlers apply them.
#include "model/Catalogue.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// The first character of a box's text, 0 for an empty box.
char FirstCharacter(std::string_view text);

// A whole decimal number with blanks around it and an optional sign; nullopt
// for anything else ("", "12x", "1.5", "x"). Saturates at the int range.
std::optional<int> WholeNumber(std::string_view text);

// Leaving the Address box: compared by its first character. A changed one
// sends "A%c" when it is an address, and "A" in every case.
CommandList AddressLeaveCommands(std::string_view text, char chAtFocus);

// Leaving the Delay box: compared by value ("07" after "7" is no change). A
// change sends "L|%03d|" when the text is a whole number from 0 to 999, and
// "L" in every case, so a refused text is replaced by the device's value.
CommandList DelayLeaveCommands(std::string_view text, int nDelayAtFocus);

// Leaving a duration box: compared as text (" 30" after "30" is a change).
// A change whose value is 0..999 sends the value command (only for a whole
// number) and the query; a value outside that range sends nothing.
CommandList SdiDurationLeaveCommands(SdiDuration which, std::string_view text,
                                     std::string_view textAtFocus);

// What the Delay box shows for an "L" reply: its value with one leading zero
// removed ("015" shows "15", "100" shows "100"); nullopt leaves the box alone
// (no value, or one that does not start with a digit).
std::optional<std::string> DelayReplyText(std::string_view reply);

// A duration of schedule number 5 as the device reported it.
struct SdiMinSec {
    std::uint8_t nMinutes = 0;
    std::uint8_t nSeconds = 0;
    bool operator==(const SdiMinSec&) const = default;
};
// "%3d" of the total seconds (" 30"), or "???" beyond 999.
std::string SdiDurationText(SdiMinSec value);

// Identification fields travel as fixed-width single-byte text the device shows
// as it is: only printable ASCII fits.
bool IsPrintableAscii(std::string_view text);
// "Please enter no more than %1 characters." with the width in place of %1.
std::string MaxCharsMessage(std::size_t width);
// Why a field's text cannot be stored, nullopt when it can: a character outside
// printable ASCII, or more bytes than the width.
std::optional<std::string> IdentFieldRefusal(std::string_view text, std::size_t width);

} // namespace zrn
