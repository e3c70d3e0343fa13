#pragma once
// Where the traffic log goes: beside the program, or, when that folder cannot
// be written (an installed program), in the user's state folder. The link
// library opens its log there and the program names the same place to the
// operator, so both use this one rule.

#include <optional>
#include <string>

namespace zrn {

// The directory of the running program, with a trailing "/".
std::optional<std::string> ProgramDirectory();

// "$XDG_STATE_HOME/ZRNcom/", or "$HOME/.local/state/ZRNcom/" when XDG_STATE_HOME
// is unset, empty or relative; nullopt without a usable home. Not created here.
std::optional<std::string> StateDirectory(const char* xdgStateHome, const char* home);

// The first of the two that can be written, creating the state folder (mode
// 0700) as needed; nullopt when neither can.
std::optional<std::string> ChooseLogDirectory(const std::optional<std::string>& programDirectory,
                                              const std::optional<std::string>& stateDirectory);

// ChooseLogDirectory for this process: its program's folder and its user's
// state folder (from the environment, else the password database).
std::optional<std::string> TrafficLogDirectory();

} // namespace zrn
