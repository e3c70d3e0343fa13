#include "DebugOutput.h"

#include "TraceFormat.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <unistd.h>

namespace zrn {
namespace {

bool DebugEnabled() {
    const char* value = std::getenv("ZRNCOM_DEBUG");
    return value != nullptr && *value != '\0';
}

void WriteAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        length -= static_cast<std::size_t>(n);
    }
}

} // namespace

void DebugTrace(const char* format, ...) {
    if (!DebugEnabled())
        return;
    va_list args;
    va_start(args, format);
    FormatTrace([](const char* line, std::size_t length) { WriteAll(STDERR_FILENO, line, length); },
                format, args);
    va_end(args);
}

} // namespace zrn
