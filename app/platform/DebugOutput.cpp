#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::mutex sinkMutex;
DebugSink sink;

void DefaultSink(std::string_view text) {
#ifdef _WIN32
    // The debugger's view of the traces, as DebugView or a debugger shows them.
    ::OutputDebugStringA(std::string(text).c_str());
#endif
    const char* enabled = std::getenv("ZRNCOM_DEBUG");
    if (enabled == nullptr || *enabled == '\0')
        return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace

void OutputDebugString(std::string_view text) {
    std::lock_guard lock(sinkMutex);
    if (sink)
        sink(text);
    else
        DefaultSink(text);
}

void DebugTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    OutputDebugString(text);
}

DebugSink SetDebugSink(DebugSink replacement) {
    std::lock_guard lock(sinkMutex);
    DebugSink previous = std::move(sink);
    sink = std::move(replacement);
    return previous;
}
