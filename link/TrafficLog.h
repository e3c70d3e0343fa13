#pragma once
// The optional traffic log: every command, acknowledgement and accepted reply,
// one per CR LF line, in the order the worker meets them.

#include "LogFile.h"

#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace zrn {

// One entry with its CR LF in one piece, so it goes out in one write and is never
// split by a switch; empty when memory runs out (the entry is lost, nothing more).
inline std::optional<std::string> LogEntry(std::string_view text) {
    try {
        std::string line;
        line.reserve(text.size() + 2);
        line.append(text).append("\r\n");
        return line;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

class TrafficLog {
public:
    // Closes any open log; then, when enabled, creates a new one beside the
    // program, or in the user's state folder when that cannot be written. True when a log is open
    // afterwards. A handle's log carries its port in the file name, so that
    // logs of links opened in the same second stay apart.
    bool Switch(bool enable, std::string_view port = {});

    // Write errors lose the entry, nothing more.
    void WriteLine(std::string_view text);

private:
    // Held for a file write; switching and writing may come from two threads.
    std::mutex mutex;
    LogFile file;
};

} // namespace zrn
