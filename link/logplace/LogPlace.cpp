#include "LogPlace.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zrn {
namespace {

bool Writable(const std::string& directory) {
    // The effective user is the one that will create the file.
    return ::euidaccess(directory.c_str(), W_OK | X_OK) == 0;
}

// mkdir -p with mode 0700 for every folder it creates, as the XDG rules ask.
bool MakeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string HomeFromPasswordDatabase() {
    std::array<char, 4096> buffer{};
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr)
        return {};
    return found->pw_dir;
}

} // namespace

std::optional<std::string> ProgramDirectory() {
    std::array<char, PATH_MAX> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return std::nullopt;
    std::string full(path.data(), static_cast<std::size_t>(length));
    const auto slash = full.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    return full.substr(0, slash + 1);
}

std::optional<std::string> StateDirectory(const char* xdgStateHome, const char* home) {
    std::string base;
    // A relative XDG path is invalid and to be ignored.
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/')
        base = xdgStateHome;
    else if (home != nullptr && home[0] == '/')
        base = std::string(home) + "/.local/state";
    else
        return std::nullopt;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/ZRNcom/";
}

std::optional<std::string> ChooseLogDirectory(const std::optional<std::string>& programDirectory,
                                              const std::optional<std::string>& stateDirectory) {
    if (programDirectory && Writable(*programDirectory))
        return programDirectory;
    if (stateDirectory && MakeDirectories(stateDirectory->substr(0, stateDirectory->size() - 1)) &&
        Writable(*stateDirectory))
        return stateDirectory;
    return std::nullopt;
}

std::optional<std::string> TrafficLogDirectory() {
    const char* home = std::getenv("HOME");
    std::string fallbackHome;
    if (home == nullptr || home[0] != '/') {
        fallbackHome = HomeFromPasswordDatabase();
        home = fallbackHome.c_str();
    }
    return ChooseLogDirectory(ProgramDirectory(),
                              StateDirectory(std::getenv("XDG_STATE_HOME"), home));
}

} // namespace zrn
