#pragma once
// The application object: starts the program, runs the main dialog modally
// and ends when it closes.
#include <string>

class CZRNcomApp {
public:
    CZRNcomApp(int& argc, char** argv);
    int Run(); // the process's exit status

private:
    bool RunApplication();

    int& argc;
    char** argv;
    std::string commandLine;
};
