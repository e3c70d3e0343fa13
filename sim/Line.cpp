#include "Line.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace zrnsim {

Line::Line(unsigned baud, std::chrono::microseconds turnaround) : turnaround_(turnaround) {
    // Start bit, eight data bits, stop bit.
    if (baud > 0)
        byteTime_ = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(10)) / baud;
}

Line::Clock::time_point Line::Arrived(std::size_t count) {
    rxFree_ = std::max(rxFree_, Clock::now()) + byteTime_ * static_cast<long>(count);
    return rxFree_;
}

void Line::AwaitTurnaround(Clock::time_point arrived) const {
    std::this_thread::sleep_until(arrived + turnaround_);
}

bool Line::Write(int fd, std::string_view bytes) {
    if (byteTime_ == Clock::duration::zero())
        return WriteAll(fd, bytes);
    txFree_ = std::max(txFree_, Clock::now());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        txFree_ += byteTime_;
        std::this_thread::sleep_until(txFree_);
        if (!WriteAll(fd, bytes.substr(i, 1)))
            return false;
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    constexpr int kPatienceMs = 200;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd out{fd, POLLOUT, 0};
            if (::poll(&out, 1, kPatienceMs) > 0 && (out.revents & POLLOUT))
                continue;
        }
        return false;
    }
    return true;
}

} // namespace zrnsim
