#include "Platform.h"

#include <cstdio>
#include <io.h>

namespace zrnctl {

bool StderrIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

} // namespace zrnctl
