#pragma once
// The command line as one text, and the three start-up switches found in it.

#include <string>
#include <string_view>

namespace zrn {

inline constexpr char SWITCH_EDIT_SDI_INFO[] = "-EDIT_SDI_INFO";
inline constexpr char SWITCH_LOG_COMM[] = "-LOG_COMM";
inline constexpr char SWITCH_NO_SCAN_COMM_PORTS[] = "-NO_SCAN_COMM_PORTS";

// The program path and its arguments joined by single spaces.
std::string CommandLineFromArgs(int argc, const char* const* argv);

// Case-sensitive substring search of the whole line, program path included.
bool HasSwitch(std::string_view commandLine, std::string_view switchText);

struct StartupSwitches {
    bool bEditSdiInfo = false;
    bool bLogComm = false;
    bool bNoScanCommPorts = false;
    bool operator==(const StartupSwitches&) const = default;
};
StartupSwitches ReadStartupSwitches(std::string_view commandLine);

} // namespace zrn
