#pragma once
// Plan files on disk, as zrnctl and the dialog both read and write them.

#include "model/Plan.h"

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace zrn {

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWhole(const std::filesystem::path& file);
// Writes the whole file or nothing: the text goes to a file beside it, which
// takes the old one's place only once it is complete. Empty on success, else
// why it failed.
std::optional<std::string> WriteWhole(const std::filesystem::path& file, const std::string& text);

// The plan in the file, checked on its own (each value, and no two listed
// active schedules overlapping); a refusal names the key, or the line and
// column of text that is not JSON.
std::variant<Plan, Refusal> ReadPlanFile(const std::filesystem::path& file);

// The table as a plan file's text, refused when the table holds something a
// plan cannot carry (a month 13, an unknown status): only a file that would
// import again is written.
std::variant<std::string, Refusal> ExportText(const ScheduleTable& table);

} // namespace zrn
