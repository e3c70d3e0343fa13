#include "DebugOutput.h"

#include "TraceFormat.h"

#include <windows.h>

#include <cstdarg>

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
    va_list args;
    va_start(args, format);
    FormatTrace(Emit, format, args);
    va_end(args);
}

} // namespace zrn
