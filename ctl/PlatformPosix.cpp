#include "Platform.h"

#include <unistd.h>

namespace zrnctl {

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace zrnctl
