#include "Pty.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zrnsim {
namespace {

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

std::optional<Pty> Pty::Open(std::string& error) {
    Pty pty;
    pty.master_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!pty.master_) {
        error = Reason("posix_openpt");
        return std::nullopt;
    }
    char name[PATH_MAX];
    if (::grantpt(pty.Master()) != 0 || ::unlockpt(pty.Master()) != 0 ||
        ::ptsname_r(pty.Master(), name, sizeof name) != 0) {
        error = Reason("pseudo-terminal setup");
        return std::nullopt;
    }
    pty.path_ = name;

    // Raw from the start, so nothing is echoed or translated before the PC sets its own mode.
    // The terminal side is not kept open here: the master then reads EIO once the PC closes,
    // which tells the device to forget a half-received frame, and an answer cut off by the
    // close is thrown away instead of waiting for the next program that opens the port.
    const zrn::UniqueFd terminal(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    termios mode{};
    if (!terminal || ::tcgetattr(terminal.get(), &mode) != 0) {
        error = Reason(name);
        return std::nullopt;
    }
    ::cfmakeraw(&mode);
    if (::tcsetattr(terminal.get(), TCSANOW, &mode) != 0) {
        error = Reason("tcsetattr");
        return std::nullopt;
    }
    return pty;
}

bool SymlinkKeeper::PointAt(const std::string& target, std::string& error) {
    // Only ever replaces a symbolic link: a mistyped --link must not clobber a file.
    struct stat existing {};
    if (::lstat(path_.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = path_ + " exists and is not a symbolic link";
        return false;
    }
    // Built beside and renamed over, so the path never names nothing or a half-made link.
    const std::string temporary = path_ + ".zrnsim-" + std::to_string(::getpid());
    if (::symlink(target.c_str(), temporary.c_str()) != 0) {
        error = Reason(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path_.c_str()) != 0) {
        error = Reason(path_.c_str());
        ::unlink(temporary.c_str());
        return false;
    }
    placed_ = true;
    return true;
}

void SymlinkKeeper::Remove() {
    if (placed_)
        ::unlink(path_.c_str());
    placed_ = false;
}

} // namespace zrnsim
