#include "platform/CommandLine.h"

namespace zrn {

std::string CommandLineFromArgs(int argc, const char* const* argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (argv[i] == nullptr)
            break;
        if (i > 0)
            line += ' ';
        line += argv[i];
    }
    return line;
}

bool HasSwitch(std::string_view commandLine, std::string_view switchText) {
    return commandLine.find(switchText) != std::string_view::npos;
}

StartupSwitches ReadStartupSwitches(std::string_view commandLine) {
    return StartupSwitches{HasSwitch(commandLine, SWITCH_EDIT_SDI_INFO),
                           HasSwitch(commandLine, SWITCH_LOG_COMM),
                           HasSwitch(commandLine, SWITCH_NO_SCAN_COMM_PORTS)};
}

} // namespace zrn
