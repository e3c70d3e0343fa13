#pragma once
// The zrnsim command line.

#include "Faults.h"

#include <optional>
#include <string>
#include <vector>

namespace zrnsim {

struct Options {
    bool help = false;
    std::string link;      // symbolic link kept at the terminal side
    std::string stateFile; // starting state
    std::string stateOut;  // rewritten with the whole state after every frame
    unsigned baud = 0;     // 0: no line-speed emulation
    std::optional<unsigned> turnaroundMs;
    bool trace = false;
    FaultPlan faults;
    std::optional<double> unplugAfter; // seconds
    unsigned unplugPauseMs = 1000;

    unsigned TurnaroundMs() const { return turnaroundMs.value_or(baud > 0 ? 5 : 0); }
};

// nullopt with a reason when an argument is unknown or its value unusable.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);
const char* UsageText();

} // namespace zrnsim
