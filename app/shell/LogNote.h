#pragma once
// The log box's one line about the traffic log: where it is, found by the link
// library's own rule, or that none could be written.
#include <string>

namespace zrn {

std::string TrafficLogNote(bool bLogOpen);

} // namespace zrn
