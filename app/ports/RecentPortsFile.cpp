#include "ports/RecentPortsFile.h"

#include "ports/NetworkPort.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace zrn {

namespace fs = std::filesystem;

namespace {

// For messages: UTF-8 never fails, where the narrow form may throw on Windows.
std::string Shown(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace

std::optional<fs::path> RecentPortsFile() {
#ifdef _WIN32
    // The wide form: a user's folder name need not fit the ANSI code page.
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0')
        return std::nullopt;
    return fs::path(appData) / "ZRNcom" / "recent-ports.txt";
#else
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && fs::path(config).is_absolute())
        return fs::path(config) / "ZRNcom" / "recent-ports";
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return std::nullopt;
    return fs::path(home) / ".config" / "ZRNcom" / "recent-ports";
#endif
}

std::vector<std::string> ReadRecentPorts(const fs::path& file) {
    // A stream read fails quietly where a buffer iterator would throw (a folder
    // in the file's place); what lies beyond a few lines is never needed.
    constexpr std::size_t kMostRead = 64 * 1024;
    std::ifstream in(file, std::ios::binary);
    std::string text(kMostRead, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return ParseRecentPorts(text);
}

std::string WriteRecentPorts(const fs::path& file, const std::vector<std::string>& ports) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error)
        return "cannot make " + Shown(file.parent_path()) + ": " + error.message();
    fs::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& port : ports)
            out << port << '\n';
        out.flush();
        if (!out) {
            fs::remove(temporary, error);
            return "cannot write " + Shown(temporary);
        }
    }
    fs::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "cannot replace " + Shown(file) + ": " + error.message();
    }
    return {};
}

} // namespace zrn
