#pragma once
// The command line: zrnctl [--port PATH]... [--json] COMMAND ...

#include "Request.h"

#include <optional>
#include <string>

namespace zrnctl {

// The request, or the exit status when the command line was handled already
// (--help, --version: 0; bad usage: 2, with the reason on standard error).
struct Parsed {
    std::optional<Request> request;
    int status = 0;
};
Parsed ParseCommandLine(int argc, char** argv);

} // namespace zrnctl
