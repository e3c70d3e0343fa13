#pragma once
// Plan files on disk, as zrnctl and the dialog both read and write them.

#include "model/Plan.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace zrn {

// The most a plan file may hold: a plan is a few kilobytes.
inline constexpr std::uintmax_t kMostPlanBytes = 1024 * 1024;

// The whole file, or why not ("cannot be read", "is a folder", "is not a
// regular file (...)", "is larger than 1 MiB"). Only a regular file is read,
// so a FIFO or a device given by mistake neither blocks nor streams forever.
std::variant<std::string, Refusal> ReadWhole(const std::filesystem::path& file);
// Writes the whole file or nothing: the text goes to a file beside it, which
// takes the old one's place only once it is complete and on disk. A symlink is
// followed to the file it names; a target that is not a regular file is left
// alone; the replaced file's permission bits are kept. Empty on success, else
// why it failed (the old file then holds what it held).
std::optional<std::string> WriteWhole(const std::filesystem::path& file, const std::string& text);

// The plan in the file, checked on its own (each value, and no two listed
// active schedules overlapping); a refusal names the key, or the line and
// column of text that is not JSON.
std::variant<Plan, Refusal> ReadPlanFile(const std::filesystem::path& file);

// The table as a plan file's text, refused when the table holds something a
// plan cannot carry (a month 13, an unknown status): only a file that would
// import again is written.
std::variant<std::string, Refusal> ExportText(const ScheduleTable& table,
                                              const SdiChange& sdi = {});

} // namespace zrn
