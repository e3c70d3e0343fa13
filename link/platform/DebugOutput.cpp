#include "DebugOutput.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        WriteAll(STDERR_FILENO, small, static_cast<std::size_t>(length));
    } else {
        // Long command texts: format again into a buffer of the right size.
        try {
            std::string line(static_cast<std::size_t>(length) + 1, '\0');
            std::vsnprintf(line.data(), line.size(), format, again);
            WriteAll(STDERR_FILENO, line.data(), static_cast<std::size_t>(length));
        } catch (const std::bad_alloc&) {
            // A trace is not worth failing the caller for.
        }
    }
    va_end(again);
}

} // namespace zrn
