#pragma once
// A device's plan kept before a program writes to it, as a plan file that
// imports back to what the device held.

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace zrn {

// "ZRNSIM-ZRN100-207-SIM0001_20270601T090000Z.json": the identification with
// anything but letters and digits made a "-" (a device's text never makes a
// path), then the UTC time.
std::string BackupName(std::string_view identification, std::time_t now);

// Writes the plan text to <state folder>/backups/, under a name no earlier
// backup holds (two devices with the same identification in one second get
// "_2", "_3"); the file, or why not.
std::variant<std::filesystem::path, std::string>
SaveBackup(std::string_view identification, const std::string& planText, std::time_t now);

} // namespace zrn
