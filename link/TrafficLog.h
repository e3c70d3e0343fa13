#pragma once
// The optional traffic log: every command, acknowledgement and accepted reply,
// one per CR LF line, in the order the worker meets them.

#ifdef _WIN32
#include "UniqueHandle.h"
#else
#include "UniqueFd.h"
#endif

#include <mutex>
#include <string_view>

namespace zrn {

class TrafficLog {
public:
    // Closes any open log; then, when enabled, creates a new one beside the
    // program, or in the user's state folder when that cannot be written. True when a log is open
    // afterwards.
    bool Switch(bool enable);

    // Write errors lose the entry, nothing more.
    void WriteLine(std::string_view text);

private:
    // Held for a file write; switching and writing may come from two threads.
    std::mutex mutex;
#ifdef _WIN32
    UniqueHandle file;
#else
    UniqueFd file;
#endif
};

} // namespace zrn
