#pragma once
// What zrnctl needs of the operating system beyond the link: the terminal
// test for progress lines, and whether the PC's own clock is kept in time.

#include <optional>
#include <string>

namespace zrnctl {

bool StderrIsTerminal();

// Why the PC clock is not known to be synchronised, or nothing when it is
// (or when the system cannot tell).
std::optional<std::string> PcClockUnsynchronised();

} // namespace zrnctl
