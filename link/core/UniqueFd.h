#pragma once
// A file descriptor that closes itself; shared by the link and the simulator.

#include <unistd.h>

#include <utility>

namespace zrn {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    explicit operator bool() const { return valid(); }
    int release() { return std::exchange(fd, -1); }
    void reset(int replacement = -1) {
        if (fd >= 0)
            ::close(fd);
        fd = replacement;
    }

private:
    int fd = -1;
};

} // namespace zrn
