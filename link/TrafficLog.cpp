#include "TrafficLog.h"

#include "LogName.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace zrn {

bool TrafficLog::Switch(bool enable) {
    const std::lock_guard lock(mutex);
    file.reset();
    if (!enable)
        return false;
    const auto path = NewLogPath(std::time(nullptr));
    if (!path)
        return false;
    file = UniqueFd(::open(path->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
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
    std::string_view rest = line;
    while (!rest.empty()) {
        const ssize_t n = ::write(file.get(), rest.data(), rest.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace zrn
