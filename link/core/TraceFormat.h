#pragma once
// The formatting half of the debug output, shared by each platform's sink.

#include <cstdarg>
#include <cstddef>

namespace zrn {

// Receives one formatted, NUL-terminated line.
using TraceSink = void (*)(const char* line, std::size_t length);

// Formats the line and hands it to emit in one piece, so lines of the two
// threads never mix. Lines too long for the stack buffer are formatted again
// into one of their size; without memory the line is dropped.
void FormatTrace(TraceSink emit, const char* format, va_list args);

} // namespace zrn
