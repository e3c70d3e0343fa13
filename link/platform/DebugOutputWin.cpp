#include "DebugOutput.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace zrn {
namespace {

// Read afresh on each call, from the process environment rather than the C
// library's copy, so that a caller may switch it at any time.
bool EchoToStandardError() {
    char value[2] = {};
    return ::GetEnvironmentVariableA("ZRNCOM_DEBUG", value, sizeof value) > 0;
}

void Emit(const char* line, std::size_t length) {
    ::OutputDebugStringA(line);
    if (!EchoToStandardError())
        return;
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(error, line, static_cast<DWORD>(length), &written, nullptr);
}

} // namespace

// Always to the debugger; also to standard error when ZRNCOM_DEBUG is set and
// not empty, which is what the tests read.
void DebugTrace(const char* format, ...) {
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
        Emit(small, static_cast<std::size_t>(length));
    } else {
        try {
            std::string line(static_cast<std::size_t>(length) + 1, '\0');
            std::vsnprintf(line.data(), line.size(), format, again);
            Emit(line.c_str(), static_cast<std::size_t>(length));
        } catch (const std::bad_alloc&) {
            // A trace is not worth failing the caller for.
        }
    }
    va_end(again);
}

} // namespace zrn
