#pragma once
// What zrnctl needs of the operating system beyond the link: its own copies
// (one per port, as the link library keeps one link per process), the
// terminal test for progress lines, and why a port did not open.

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

// Why a port did not open: missing, not permitted (with the hint), or busy.
std::string PortOpenFailure(const std::string& port);

} // namespace zrnctl
