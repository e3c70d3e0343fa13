#pragma once
// Where a new traffic log goes: "MMM_dd_yyyy_HH_mm_ss.LOG" beside the program.

#include <ctime>
#include <optional>
#include <string>

namespace zrn {

// The file name for local time `when`, the month abbreviated in the user's
// LC_TIME locale (taken from the environment; the process locale is left alone).
std::optional<std::string> LogFileName(std::time_t when);

// The directory of the running program, with a trailing "/".
std::optional<std::string> ProgramDirectory();

} // namespace zrn
