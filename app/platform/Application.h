#pragma once
// The windowing system of the process: started before the main dialog is
// built and shut down after it has gone; one per process.
#include <memory>
#include <string>
#include <string_view>

class PlatformApplication {
public:
    PlatformApplication(int& argc, char** argv);
    ~PlatformApplication();
    PlatformApplication(const PlatformApplication&) = delete;
    PlatformApplication& operator=(const PlatformApplication&) = delete;

    // False when it could not start (OLE on Windows, the display elsewhere):
    // no window may open then.
    bool Started() const;

private:
    struct State;
    std::unique_ptr<State> state;
};

// The command line the program was started with, as one text (on Windows the
// process's own, quotes included).
std::string ProgramCommandLine(int argc, char** argv);

// --help and --version: to standard output, on Windows also to the console
// the program was started from.
void WriteInformation(std::string_view text);

// The one start-up error: a message box with an OK button on Windows,
// standard error where no window can open.
void ShowStartupError(std::string_view text);
