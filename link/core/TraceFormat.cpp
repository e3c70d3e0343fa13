#include "TraceFormat.h"

#include <cstdio>
#include <new>
#include <string>

namespace zrn {

void FormatTrace(TraceSink emit, const char* format, va_list args) {
    char small[256];
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
        emit(small, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        try {
            std::string line(static_cast<std::size_t>(length) + 1, '\0');
            std::vsnprintf(line.data(), line.size(), format, again);
            emit(line.c_str(), static_cast<std::size_t>(length));
        } catch (const std::bad_alloc&) {
            // A trace is not worth failing the caller for.
        }
    }
    va_end(again);
}

} // namespace zrn
