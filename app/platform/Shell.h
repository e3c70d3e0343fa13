#pragma once
// Starting other programs: the desktop's "open" for an address, and a command line.
#include <string>
#include <string_view>

// Opens the address with the desktop's handler (ShellExecute "open" on
// Windows, xdg-open elsewhere); above 32 when it started, as ShellExecute
// answers. xdg-open may start and then fail (no handler for the address): the
// fallback command line, when one is given, then runs with the same splitting
// as WinExec. On Windows the answer is final and the fallback is the caller's.
int ShellExecuteOpen(std::string_view address, int show, std::string_view fallback = {});
// Starts the command line (split as a shell would, without running one);
// above 31 when it started, as WinExec answers.
int WinExec(std::string_view commandLine, int show);
// The command line of the program that opens web pages, with its "%1" where
// it has one: on Windows the ".htm" class's open command from the registry,
// elsewhere the BROWSER environment variable; empty when there is none.
std::string WebBrowserCommand();
