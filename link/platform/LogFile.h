#pragma once
// The traffic log's file: opened afresh for each log, written one whole entry
// at a time.

#ifdef _WIN32
#include "UniqueHandle.h"
#else
#include "UniqueFd.h"
#endif

#include <string>
#include <string_view>

namespace zrn {

#ifdef _WIN32
using LogFile = UniqueHandle;
#else
using LogFile = UniqueFd;
#endif

// A new, empty file at path; not valid when it cannot be created.
LogFile OpenLogFile(const std::string& path);

// Write errors lose the entry, nothing more.
void WriteLogEntry(const LogFile& file, std::string_view entry);

} // namespace zrn
