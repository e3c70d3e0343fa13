#pragma once
// The traffic log's file: opened afresh for each log, written one whole entry
// at a time.

#include <string>
#include <string_view>

#ifdef _WIN32
#include "UniqueHandle.h"
namespace zrn {
using LogFile = UniqueHandle;
}
#else
#include "UniqueFd.h"
namespace zrn {
using LogFile = UniqueFd;
}
#endif

namespace zrn {

// A new, empty file at path; not valid when it cannot be created.
LogFile OpenLogFile(const std::string& path);

// Write errors lose the entry, nothing more.
void WriteLogEntry(const LogFile& file, std::string_view entry);

} // namespace zrn
