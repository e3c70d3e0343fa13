#pragma once
// The version block compiled into the program (the counterpart of a Windows
// version resource), its lookup, and the pieces of the About box and of the
// web-page opener that need no windowing.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {

struct VersionTranslation {
    std::uint16_t nLanguage = 0; // Windows LANGID
    std::uint16_t nCodePage = 0;
    bool operator==(const VersionTranslation&) const = default;
};

struct VersionString {
    std::string_view name;
    std::string_view value;
};
struct VersionStringTable {
    std::string_view key; // "040904b0": language and code page in hexadecimal
    std::vector<VersionString> strings;
};
struct VersionBlock {
    std::array<std::uint16_t, 4> nFileVersion{};
    std::array<std::uint16_t, 4> nProductVersion{};
    std::vector<VersionTranslation> translations;
    std::vector<VersionStringTable> stringTables;
};

// The block as the build describes it (file and product version from the
// project version, the program's strings).
const VersionBlock& BuiltInVersionBlock();
// The program's own block: on Windows read from its version resource (empty
// when it has none), elsewhere BuiltInVersionBlock().
const VersionBlock& ProgramVersionBlock();

// "\\VarFileInfo\\Translation"; empty when the path names nothing else.
std::optional<std::vector<VersionTranslation>> QueryTranslations(const VersionBlock& block,
                                                                 std::string_view subBlock);
// "\\StringFileInfo\\<lang><codepage>\\<name>"; names compare without regard
// to case, as on Windows.
std::optional<std::string> QueryVersionString(const VersionBlock& block, std::string_view subBlock);
// "\\StringFileInfo\\%04X%04X\\" + name.
std::string StringFileInfoPath(VersionTranslation translation, std::string_view name);

// The About box's choice: exact language, same low byte, language 0 or low
// byte 0, language 9 or low byte 9, else the first; empty for an empty list.
std::optional<VersionTranslation>
ChooseTranslation(std::span<const VersionTranslation> translations, std::uint16_t nUserLangId);

// The "FileVersion" string for the user's language; empty when missing.
std::string ReadFileVersion(const VersionBlock& block, std::uint16_t nUserLangId);

// LANGID of a POSIX locale name ("de_DE.UTF-8" -> 0x0407); 0x0409 for "C",
// "POSIX", empty and unknown names.
std::uint16_t LangIdFromLocale(std::string_view locale);
// From LC_ALL, LC_MESSAGES, LANG: the first that is set and not empty (on
// Windows GetUserDefaultLangID).
std::uint16_t UserDefaultLangId();

// The browser command of the web-page fallback: the command line cut at
// "\"%1\"" (else at "%1"), then a blank and the address.
std::string BrowserCommand(std::string_view commandLine, std::string_view url);

} // namespace zrn
