#pragma once
// The library's debug output: standard error when ZRNCOM_DEBUG is set and not
// empty, otherwise nothing.

namespace zrn {

// One line per call, written with a single write so lines of the two threads
// never mix. Format strings are literals of this library only.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zrn
