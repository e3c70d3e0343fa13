#pragma once
// What each value of a plan must be: the dialog's range checks, and what the
// wire can carry (a two-digit year from 2000, a date that exists). Each check
// returns why a value is refused, or nothing when it is fine.

#include "model/Catalogue.h"
#include "model/PlanText.h"
#include "model/ScheduleRules.h"

#include <optional>
#include <string>

namespace zrn {

using Fault = std::optional<std::string>;

inline constexpr int FIRST_YEAR = 2000;
inline constexpr int LAST_YEAR = 2037;

Fault DateTimeFault(const LocalDateTime& t);
// A schedule's interval, valve, hold or pump: the dialog's span check (hours
// 0-23, minutes and seconds 0-59).
Fault SpanFault(const Span& span);
Fault SdiDurationFault(const Span& span); // the SDI row's: 999 seconds at most
// An SDI-12 address the device stores: "0" to "9" ("?" is the bus's
// wildcard, which the device accepts and ignores).
Fault AddressFault(char ch);
Fault DelayFault(int nDelay);

} // namespace zrn
