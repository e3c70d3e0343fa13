#pragma once
// Raw pseudo-terminals for the tests and the benchmarks: the one place that
// opens one. The host's relay under wine builds RawPty.cpp beside it.

#include "UniqueFd.h"

#include <optional>
#include <string>

namespace zrntest {

// Raw mode, so that nothing written is echoed or translated.
void MakeRaw(int fd);

// Opens a pair: the terminal side raw, the master non-blocking, neither
// inherited by a program started later. The terminal's path, or nothing on
// failure.
std::optional<std::string> OpenRawPty(int& master, int& slave);

// The PC's end of a terminal another process made (the simulator's), raw and
// non-blocking; -1 when it cannot be opened.
int OpenRawTerminal(const std::string& path);

// A pair that closes itself: the library opens the terminal side by its path,
// the test or benchmark plays the device on the master.
class RawPty {
public:
    RawPty();

    bool ok() const { return static_cast<bool>(master_); }
    int master() const { return master_.get(); }
    const std::string& path() const { return name_; }
    // As the link's definition names it.
    std::string definition() const { return name_ + ":9600,N,8,1"; }

private:
    zrn::UniqueFd master_;
    zrn::UniqueFd slave_;
    std::string name_;
};

} // namespace zrntest
