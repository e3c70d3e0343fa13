#pragma once
// The operating system's part of the fleet state: where it lives, who and
// where we are, and the two ways a state file is written.

#include <filesystem>
#include <optional>
#include <string>

namespace zrn {

// "$XDG_STATE_HOME/ZRNcom" ("~/.local/state/ZRNcom" when that is unset or
// relative); "%LOCALAPPDATA%\ZRNcom" on Windows. Not created here; nothing
// without a home.
std::optional<std::filesystem::path> StateFolder();
// Creates the folder and its parents, private to the user; why not, or nothing.
std::optional<std::string> MakeStateFolder(const std::filesystem::path& folder);

std::string UserName();
std::string HostName();

// Appends the line as one write under an exclusive lock on the file, so lines
// from several processes never tear or interleave; why not, or nothing.
std::optional<std::string> AppendLocked(const std::filesystem::path& file, const std::string& line);
// Creates the file empty, failing when it exists: a name no one else holds.
bool CreateNew(const std::filesystem::path& file);

} // namespace zrn
