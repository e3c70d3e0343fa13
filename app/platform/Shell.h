#pragma once
// Starting other programs: the desktop's "open" for an address, and a command line.
#include <string_view>

// Hands the address to xdg-open; above 32 when it started, as ShellExecute
// answers. xdg-open may start and then fail (no handler for the address): the
// fallback command line, when one is given, then runs with the same splitting
// as WinExec.
int ShellExecuteOpen(std::string_view address, int show, std::string_view fallback = {});
// Starts the command line (split as a shell would, without running one);
// above 31 when it started, as WinExec answers.
int WinExec(std::string_view commandLine, int show);
