#include "TrafficLog.h"

#include "LogName.h"

#include <windows.h>

#include <ctime>
#include <string>

namespace zrn {

bool TrafficLog::Switch(bool enable) {
    const std::lock_guard lock(mutex);
    file.reset();
    if (!enable)
        return false;
    const auto path = NewLogPath(std::time(nullptr));
    if (!path)
        return false;
    // Readable by others while it grows; each entry reaches the disk at once.
    file = UniqueHandle(::CreateFileA(path->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    return file.valid();
}

void TrafficLog::WriteLine(std::string_view text) {
    const std::lock_guard lock(mutex);
    if (!file.valid())
        return;
    const std::optional<std::string> entry = LogEntry(text);
    if (!entry)
        return;
    const std::string& line = *entry;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace zrn
