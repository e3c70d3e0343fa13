#pragma once
// The system's part of RunCopies (Platform.h): starting a copy of this
// program with its standard output on a pipe, reading every copy's output and
// waiting for each one (PlatformPosix.cpp, PlatformWin.cpp). Copies.cpp
// strings them together.

#ifdef _WIN32
#include "UniqueHandle.h"
#else
#include "UniqueFd.h"
#include <sys/types.h>
#endif

#include <string>
#include <vector>

namespace zrnctl {

struct Copy {
#ifdef _WIN32
    zrn::UniqueHandle process;
    zrn::UniqueHandle out;
#else
    pid_t pid = -1;
    zrn::UniqueFd out;
#endif
    std::string output;
};

// This program's own path.
std::string SelfPath();
// A copy that did not start has no process, and no output to read.
Copy Start(const std::string& program, const std::vector<std::string>& arguments);
// Reads every copy's output until each one has closed it.
void ReadOutputs(std::vector<Copy>& copies);
// Once it has ended: its exit status, -1 when it did not start or was killed.
int Wait(Copy& copy);

} // namespace zrnctl
