#include "fleet/StateFiles.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zrn {
namespace {

std::optional<passwd> Account(std::array<char, 4096>& buffer) {
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return entry;
}

// Closes on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

std::string Why(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

} // namespace

std::optional<std::filesystem::path> StateFolder() {
    const char* xdg = std::getenv("XDG_STATE_HOME");
    // A relative XDG path is invalid and to be ignored.
    if (xdg && xdg[0] == '/')
        return std::filesystem::path(xdg) / "ZRNcom";
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
        home = env;
    } else {
        std::array<char, 4096> buffer{};
        if (const std::optional<passwd> account = Account(buffer); account && account->pw_dir)
            home = account->pw_dir;
    }
    if (home.empty() || home[0] != '/')
        return std::nullopt;
    return std::filesystem::path(home) / ".local" / "state" / "ZRNcom";
}

std::optional<std::string> MakeStateFolder(const std::filesystem::path& folder) {
    std::filesystem::path part;
    for (const std::filesystem::path& name : folder) {
        part /= name;
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return Why(("cannot create " + part.string()).c_str());
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return folder.string() + " is not a folder";
    return std::nullopt;
}

std::string UserName() {
    std::array<char, 4096> buffer{};
    if (const std::optional<passwd> account = Account(buffer); account && account->pw_name)
        return account->pw_name;
    return std::to_string(::geteuid());
}

std::string HostName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0)
        return "";
    return name.data();
}

std::optional<std::string> AppendLocked(const std::filesystem::path& file,
                                        const std::string& line) {
    const Fd fd(::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600));
    if (fd.get() < 0)
        return Why("cannot open");
    // O_APPEND alone keeps one write() whole on a local disk; the lock also
    // covers a write the kernel cuts short and file systems that append loosely.
    int locked;
    do
        locked = ::flock(fd.get(), LOCK_EX);
    while (locked != 0 && errno == EINTR);
    if (locked != 0)
        return Why("cannot lock");
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd.get(), line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Why("cannot write");
        done += static_cast<std::size_t>(n);
    }
    return std::nullopt; // the lock goes with the descriptor
}

bool CreateNew(const std::filesystem::path& file) {
    const Fd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    return fd.get() >= 0;
}

} // namespace zrn
