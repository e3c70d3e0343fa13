#pragma once
// The debugger output: one line sink for the program's traces. Lines go to
// standard error when ZRNCOM_DEBUG is set and not empty, otherwise nowhere (on
// Windows also to the debugger); tests install their own sink to read them.
#include <functional>
#include <string_view>

#ifdef _WIN32
// Windows' own name is a macro that would rename ours: defined once here and
// taken back, a later <windows.h> leaves it undefined.
#include <debugapi.h>
#undef OutputDebugString
#endif

using DebugSink = std::function<void(std::string_view)>;

void OutputDebugString(std::string_view text);
// printf-style; the format is always a literal of the program. mingw's
// "printf" would check against Microsoft's runtime, not the C99 one used here.
#ifdef __MINGW32__
#define ZRN_PRINTF_FORMAT gnu_printf
#else
#define ZRN_PRINTF_FORMAT printf
#endif
void DebugTrace(const char* format, ...) __attribute__((format(ZRN_PRINTF_FORMAT, 1, 2)));
// Replaces the sink (an empty function restores the default); returns the previous one.
DebugSink SetDebugSink(DebugSink sink);
