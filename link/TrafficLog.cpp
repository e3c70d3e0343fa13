#include "TrafficLog.h"

#include "LogName.h"

#include <ctime>
#include <string>

namespace zrn {

bool TrafficLog::Switch(bool enable, std::string_view port) {
    const std::lock_guard lock(mutex);
    file.reset();
    if (!enable)
        return false;
    const auto path = NewLogPath(std::time(nullptr), port);
    if (!path)
        return false;
    file = OpenLogFile(*path);
    return file.valid();
}

void TrafficLog::WriteLine(std::string_view text) {
    const std::lock_guard lock(mutex);
    if (!file.valid())
        return;
    if (const std::optional<std::string> entry = LogEntry(text))
        WriteLogEntry(file, *entry);
}

} // namespace zrn
