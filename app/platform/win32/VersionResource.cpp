// The program's version block read from its own version resource, so the
// About box and --version show what Explorer shows.
#include "platform/VersionInfo.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

namespace zrn {

namespace {

// The names a version resource's string table may hold; VerQueryValue finds
// values by name only.
constexpr std::string_view kStringNames[] = {
    "Comments",     "CompanyName",    "FileDescription", "FileVersion",
    "InternalName", "LegalCopyright", "LegalTrademarks", "OriginalFilename",
    "PrivateBuild", "ProductName",    "ProductVersion",  "SpecialBuild",
};

// The raw block and the parsed view of it; the views point into raw and keys,
// whose elements never move.
struct ResourceBlock {
    std::vector<char> raw;
    std::deque<std::string> keys;
    VersionBlock block;
};

std::array<std::uint16_t, 4> VersionNumbers(DWORD high, DWORD low) {
    return {HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low)};
}

ResourceBlock ReadResourceBlock() {
    ResourceBlock result;
    std::array<char, MAX_PATH> path{};
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return result;
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.data(), &unused);
    if (size == 0)
        return result;
    result.raw.resize(size);
    if (!::GetFileVersionInfoA(path.data(), 0, size, result.raw.data())) {
        result.raw.clear();
        return result;
    }
    void* data = result.raw.data();
    void* value = nullptr;
    UINT valueSize = 0;
    if (::VerQueryValueA(data, "\\", &value, &valueSize) && valueSize >= sizeof(VS_FIXEDFILEINFO)) {
        VS_FIXEDFILEINFO fixed{};
        std::memcpy(&fixed, value, sizeof fixed);
        result.block.nFileVersion = VersionNumbers(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
        result.block.nProductVersion =
            VersionNumbers(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
    }
    if (!::VerQueryValueA(data, "\\VarFileInfo\\Translation", &value, &valueSize))
        return result;
    // Pairs of 16-bit numbers: language, then code page.
    const std::size_t pairs = valueSize / (2 * sizeof(std::uint16_t));
    for (std::size_t i = 0; i < pairs; ++i) {
        std::uint16_t pair[2];
        std::memcpy(pair, static_cast<const char*>(value) + i * sizeof pair, sizeof pair);
        result.block.translations.push_back({pair[0], pair[1]});
    }
    for (const VersionTranslation& translation : result.block.translations) {
        VersionStringTable table;
        for (std::string_view name : kStringNames) {
            void* text = nullptr;
            UINT textSize = 0;
            if (!::VerQueryValueA(data, StringFileInfoPath(translation, name).c_str(), &text,
                                  &textSize) ||
                text == nullptr)
                continue;
            // The size counts the NUL, where there is one.
            const char* begin = static_cast<const char*>(text);
            table.strings.push_back({name, std::string_view(begin, ::strnlen(begin, textSize))});
        }
        char key[9];
        std::snprintf(key, sizeof key, "%04x%04x", unsigned{translation.nLanguage},
                      unsigned{translation.nCodePage});
        table.key = result.keys.emplace_back(key);
        result.block.stringTables.push_back(std::move(table));
    }
    return result;
}

} // namespace

const VersionBlock& ProgramVersionBlock() {
    static const ResourceBlock resource = ReadResourceBlock();
    return resource.block;
}

std::uint16_t UserDefaultLangId() {
    return ::GetUserDefaultLangID();
}

} // namespace zrn
