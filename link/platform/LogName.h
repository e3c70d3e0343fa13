#pragma once
// Where a new traffic log goes: "MMM_dd_yyyy_HH_mm_ss.LOG" in the folder LogPlace.h
// chooses, or on Windows beside the library.

#ifndef _WIN32
#include "LogPlace.h"
#endif

#include <ctime>
#include <optional>
#include <string>

namespace zrn {

// The file name for local time `when`, the month abbreviated in the user's
// LC_TIME locale (taken from the environment; the process locale is left alone).
std::optional<std::string> LogFileName(std::time_t when);

// The whole path of a log started at `when`: its folder and LogFileName.
std::optional<std::string> NewLogPath(std::time_t when);

#ifdef _WIN32
// The folder of the library itself, with a trailing "\\".
std::optional<std::string> ProgramDirectory();
#endif

} // namespace zrn
