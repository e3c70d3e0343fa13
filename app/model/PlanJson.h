#pragma once
// A schedule entry as the plan file writes it, shared by the file and by
// `zrnctl info --json`.

#include "model/ScheduleEntry.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace zrn {

using Json = nlohmann::ordered_json;

// "active", "inactive", "empty", or the status byte itself when it is none of these.
std::string StatusText(char chStatus);
// The status byte of one of those three names.
std::optional<char> StatusNamed(std::string_view name);
// {"schedule", "status", "start", "stop", "interval", "valve", "hold", "pump"},
// only the first two for an empty entry; values as stored, unchecked.
Json ScheduleJson(const ScheduleEntry& entry);
// "schedule 1: active 2027-03-03T07:00:00 to 2027-03-10T06:59:59, every
// 00:15:00, valve 01:30, hold 00:45, pump 02:00"; "schedule 4: empty".
std::string ScheduleLine(const ScheduleEntry& entry);
// An object on one line with a space after each ':' and ','.
std::string OneLine(const Json& object);
// A value as JSON text. A device may send bytes that are not UTF-8: they
// become U+FFFD rather than an exception.
std::string JsonText(const Json& value, int indent = -1);

} // namespace zrn
