#pragma once
// What zrnctl needs of the operating system beyond the link: its own copies
// (one per port) and the terminal test for progress lines.

#include <string>
#include <vector>

namespace zrnctl {

struct CopyRun {
    int status = -1;    // exit status, -1 when it did not start or was killed
    std::string output; // its standard output
};

// Runs this program once for each argument list, all at the same time, and
// waits for every one; their standard error is ours.
std::vector<CopyRun> RunCopies(const std::vector<std::vector<std::string>>& argumentLists);

bool StderrIsTerminal();

} // namespace zrnctl
