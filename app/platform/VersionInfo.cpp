#include "platform/VersionInfo.h"

#include "base/Text.h"

#include <cstdio>
#include <cstdlib>

#ifndef ZRN_VERSION_MAJOR
#error "the build passes the project version as ZRN_VERSION_MAJOR .. ZRN_VERSION_TWEAK"
#endif

#define ZRN_TEXT(x) #x
#define ZRN_NUMBER_TEXT(x) ZRN_TEXT(x)

namespace zrn {

namespace {

constexpr std::string_view kShortVersion =
    ZRN_NUMBER_TEXT(ZRN_VERSION_MAJOR) "." ZRN_NUMBER_TEXT(ZRN_VERSION_MINOR);

VersionBlock BuildProgramBlock() {
    VersionBlock block;
    block.nFileVersion = {ZRN_VERSION_MAJOR, ZRN_VERSION_MINOR, ZRN_VERSION_PATCH,
                          ZRN_VERSION_TWEAK};
    block.nProductVersion = block.nFileVersion;
    block.translations = {{0x0409, 1200}};
    block.stringTables = {{"040904b0",
                           {
                               {"FileDescription", "ZRNcom field sampler configuration tool"},
                               {"FileVersion", kShortVersion},
                               {"InternalName", "ZRNcom"},
                               {"LegalCopyright", "Copyright (C) the ZRNcom developers"},
                               {"OriginalFilename", "ZRNcom.EXE"},
                               {"ProductName", "ZRNcom Application"},
                               {"ProductVersion", kShortVersion},
                           }}};
    return block;
}

} // namespace

const VersionBlock& BuiltInVersionBlock() {
    static const VersionBlock block = BuildProgramBlock();
    return block;
}

#ifndef _WIN32
const VersionBlock& ProgramVersionBlock() {
    return BuiltInVersionBlock();
}
#endif

std::optional<std::vector<VersionTranslation>> QueryTranslations(const VersionBlock& block,
                                                                 std::string_view subBlock) {
    const auto parts = SplitNonEmpty(subBlock, '\\');
    if (parts.size() != 2 || !EqualsIgnoreCase(parts[0], "VarFileInfo") ||
        !EqualsIgnoreCase(parts[1], "Translation"))
        return std::nullopt;
    return block.translations;
}

std::optional<std::string> QueryVersionString(const VersionBlock& block,
                                              std::string_view subBlock) {
    const auto parts = SplitNonEmpty(subBlock, '\\');
    if (parts.size() != 3 || !EqualsIgnoreCase(parts[0], "StringFileInfo"))
        return std::nullopt;
    for (const VersionStringTable& table : block.stringTables) {
        if (!EqualsIgnoreCase(table.key, parts[1]))
            continue;
        for (const VersionString& s : table.strings)
            if (EqualsIgnoreCase(s.name, parts[2]))
                return std::string(s.value);
    }
    return std::nullopt;
}

std::string StringFileInfoPath(VersionTranslation translation, std::string_view name) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04X%04X\\",
                  unsigned{translation.nLanguage}, unsigned{translation.nCodePage});
    return std::string(prefix).append(name);
}

std::optional<VersionTranslation>
ChooseTranslation(std::span<const VersionTranslation> translations, std::uint16_t nUserLangId) {
    const auto lowByte = [](std::uint16_t lang) { return lang & 0xFF; };
    const auto first = [&](auto matches) -> std::optional<VersionTranslation> {
        for (const VersionTranslation& t : translations)
            if (matches(t.nLanguage))
                return t;
        return std::nullopt;
    };
    if (translations.empty())
        return std::nullopt;
    if (auto t = first([&](std::uint16_t l) { return l == nUserLangId; }))
        return t;
    if (auto t = first([&](std::uint16_t l) { return lowByte(l) == lowByte(nUserLangId); }))
        return t;
    if (auto t = first([&](std::uint16_t l) { return l == 0 || lowByte(l) == 0; }))
        return t;
    if (auto t = first([&](std::uint16_t l) { return l == 9 || lowByte(l) == 9; }))
        return t;
    return translations.front();
}

std::string ReadFileVersion(const VersionBlock& block, std::uint16_t nUserLangId) {
    const auto translations = QueryTranslations(block, "\\VarFileInfo\\Translation");
    if (!translations)
        return {};
    const auto chosen = ChooseTranslation(*translations, nUserLangId);
    if (!chosen)
        return {};
    return QueryVersionString(block, StringFileInfoPath(*chosen, "FileVersion")).value_or("");
}

namespace {

struct LocaleLang {
    std::string_view name; // "de" or "de_AT"
    std::uint16_t nLangId;
};

// Windows LANGIDs of common locales; a language alone maps to its default
// sublanguage.
constexpr LocaleLang kLocaleLangs[] = {
    {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_IE", 0x1809}, {"de_AT", 0x0C07},
    {"de_CH", 0x0807}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"es_MX", 0x080A},
    {"nl_BE", 0x0813}, {"pt_PT", 0x0816}, {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"it_CH", 0x0810},
    {"sv_FI", 0x081D}, {"en", 0x0409},    {"de", 0x0407},    {"fr", 0x040C},    {"es", 0x0C0A},
    {"it", 0x0410},    {"nl", 0x0413},    {"pt", 0x0416},    {"ja", 0x0411},    {"zh", 0x0804},
    {"ko", 0x0412},    {"ru", 0x0419},    {"pl", 0x0415},    {"sv", 0x041D},    {"da", 0x0406},
    {"nb", 0x0414},    {"no", 0x0414},    {"fi", 0x040B},    {"cs", 0x0405},    {"hu", 0x040E},
    {"tr", 0x041F},    {"el", 0x0408},    {"uk", 0x0422},    {"ro", 0x0418},    {"sk", 0x041B},
    {"hr", 0x041A},    {"sl", 0x0424},    {"bg", 0x0402},    {"he", 0x040D},    {"ar", 0x0401},
    {"et", 0x0425},    {"lv", 0x0426},    {"lt", 0x0427},
};

constexpr std::uint16_t kEnglishUs = 0x0409;

} // namespace

std::uint16_t LangIdFromLocale(std::string_view locale) {
    // "de_DE.UTF-8@euro": language and territory only.
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    const std::string_view language = name.substr(0, name.find('_'));
    for (const LocaleLang& entry : kLocaleLangs)
        if (entry.name == name)
            return entry.nLangId;
    for (const LocaleLang& entry : kLocaleLangs)
        if (entry.name == language)
            return entry.nLangId;
    return kEnglishUs;
}

#ifndef _WIN32
std::uint16_t UserDefaultLangId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return LangIdFromLocale(value);
    }
    return kEnglishUs;
}
#endif

std::string BrowserCommand(std::string_view commandLine, std::string_view url) {
    std::size_t cut = commandLine.find("\"%1\"");
    if (cut == std::string_view::npos)
        cut = commandLine.find("%1");
    std::string command(commandLine.substr(0, cut));
    return command.append(" ").append(url);
}

} // namespace zrn
