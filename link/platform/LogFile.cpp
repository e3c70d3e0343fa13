#include "LogFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zrn {

LogFile OpenLogFile(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

void WriteLogEntry(const LogFile& file, std::string_view entry) {
    while (!entry.empty()) {
        const ssize_t n = ::write(file.get(), entry.data(), entry.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        entry.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace zrn
