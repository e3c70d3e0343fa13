#pragma once
// The file that keeps the connect dialog's recent network ports: a few lines
// the program alone writes, so a file it cannot read or write costs nothing.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zrn {

// $XDG_CONFIG_HOME/ZRNcom/recent-ports (default ~/.config/ZRNcom/); on Windows
// %APPDATA%\ZRNcom\recent-ports.txt. nullopt when the environment names no
// such folder.
std::optional<std::filesystem::path> RecentPortsFile();

// The ports the file names (ParseRecentPorts); empty when it cannot be read.
std::vector<std::string> ReadRecentPorts(const std::filesystem::path& file);

// Replaces the file through a temporary one beside it, so a reader never sees
// half a list; the folder is made when missing. Empty when written, else why not.
std::string WriteRecentPorts(const std::filesystem::path& file,
                             const std::vector<std::string>& ports);

} // namespace zrn
