#pragma once
// Where a new traffic log goes: "MMM_dd_yyyy_HH_mm_ss.LOG" in the folder LogPlace.h
// chooses, or on Windows beside the library.

#ifndef _WIN32
#include "LogPlace.h"
#endif

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// The file name for local time `when`, the month abbreviated in the user's
// LC_TIME locale (taken from the environment; the process locale is left alone).
std::optional<std::string> LogFileName(std::time_t when);

// The whole path of a log started at `when`: its folder and LogFileName,
// with "_" and `port` made fit for a file name before ".LOG" when a port is
// given ("Mar_05_2025_14_03_09_rfc2217_gw_7000.LOG").
std::optional<std::string> NewLogPath(std::time_t when, std::string_view port = {});

#ifdef _WIN32
// The folder of the library itself, with a trailing "\\".
std::optional<std::string> ProgramDirectory();
#endif

} // namespace zrn
