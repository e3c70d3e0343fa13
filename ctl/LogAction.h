#pragma once
// zrnctl log: the journal of changes, as people or scripts read it.

#include "Request.h"

#include <optional>
#include <string>

namespace zrnctl {

// "2027-06-01", "2027-06-01T09:00:00" or either with a "Z", in UTC, as the
// journal writes its times ("2027-06-01T00:00:00Z"); nothing when not one of these.
std::optional<std::string> SinceTime(const std::string& text);

// Prints the journal's changes (those of request.ports, from request.since);
// the exit status.
int ShowLog(const Request& request);

} // namespace zrnctl
