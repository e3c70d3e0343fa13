#pragma once
// Where a new traffic log goes: "MMM_dd_yyyy_HH_mm_ss.LOG" in the folder LogPlace.h chooses.

#include "LogPlace.h"

#include <ctime>
#include <optional>
#include <string>

namespace zrn {

// The file name for local time `when`, the month abbreviated in the user's
// LC_TIME locale (taken from the environment; the process locale is left alone).
std::optional<std::string> LogFileName(std::time_t when);

} // namespace zrn
