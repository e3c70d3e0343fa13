#pragma once
// The device's end of a pseudo-terminal, and the symbolic link that names it.

#include "UniqueFd.h"

#include <optional>
#include <string>

namespace zrnsim {

class Pty {
public:
    // A new pair with the terminal side in raw mode; nullopt and a reason on failure.
    static std::optional<Pty> Open(std::string& error);

    int Master() const { return master_.get(); }
    const std::string& TerminalPath() const { return path_; }

private:
    zrn::UniqueFd master_;
    std::string path_;
};

// Keeps a symbolic link pointing at the current terminal; removes it when destroyed.
class SymlinkKeeper {
public:
    explicit SymlinkKeeper(std::string path) : path_(std::move(path)) {}
    SymlinkKeeper(const SymlinkKeeper&) = delete;
    SymlinkKeeper& operator=(const SymlinkKeeper&) = delete;
    ~SymlinkKeeper() { Remove(); }

    bool PointAt(const std::string& target, std::string& error);
    void Remove();

private:
    std::string path_;
    bool placed_ = false;
};

} // namespace zrnsim
