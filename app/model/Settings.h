#pragma once
// GetPrivateProfileInt as the program uses it: an INI file read afresh on
// every call, never written.

#include <string>

namespace zrn {

inline constexpr char INI_FILE[] = "./ZRNcom.ini";

// The integer under [section] key= in the file at path. Section and key names
// compare without regard to case; a missing file, section or key (or an empty
// value) gives nDefault. A value is read as Windows reads it: blanks trimmed,
// optional sign, optional "0x"/"0o"/"0b" prefix, then leading digits ("12abc"
// is 12); no digits give 0. Lines starting with ';' are comments. The first
// matching section and key win.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int nDefault,
                         const std::string& path);

} // namespace zrn
