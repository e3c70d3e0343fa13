#include "LogFile.h"

#include <windows.h>

namespace zrn {

LogFile OpenLogFile(const std::string& path) {
    // Readable by others while it grows; each entry reaches the disk at once.
    return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
}

void WriteLogEntry(const LogFile& file, std::string_view entry) {
    DWORD written = 0;
    ::WriteFile(file.get(), entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
}

} // namespace zrn
