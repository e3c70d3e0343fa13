#pragma once
// Which reply answers which query, for both front ends: the dialog's lost-reply
// tracker and zrnctl's link, which waits for its one query's answer.

#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// The key a query's reply will carry ("C", "S2?", "S2BD", "S5V"...); nothing
// for a command that is answered with ACK or NAK only.
std::optional<std::string> QueryReplyKey(std::string_view command);

// A reply carries its query's letters, then a status letter ("S1?": "S1A"),
// one character ("A": "A3") or "|" and the values ("S1BD": "S1BD|03/03/27|").
// A bare "C" or "S1BD" carries no value and answers nothing.
bool AnswersQuery(std::string_view reply, std::string_view query);

} // namespace zrn
