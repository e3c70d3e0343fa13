#pragma once
// The serial line's speed, emulated on a pseudo-terminal that has none.

#include <chrono>
#include <cstddef>
#include <string_view>

namespace zrnsim {

class Line {
public:
    using Clock = std::chrono::steady_clock;

    // baud 0: no emulation, bytes go out at once.
    Line(unsigned baud, std::chrono::microseconds turnaround);

    // When the last of count bytes read just now would have arrived at this speed.
    Clock::time_point Arrived(std::size_t count);
    // Waits the device's turnaround after a command that arrived at the given time.
    void AwaitTurnaround(Clock::time_point arrived) const;
    // Writes at line speed, each byte released once it would have been sent whole;
    // false when the terminal side has gone away.
    bool Write(int fd, std::string_view bytes);

private:
    Clock::duration byteTime_{};
    std::chrono::microseconds turnaround_;
    Clock::time_point rxFree_{}, txFree_{};
};

// Writes everything, waiting a bounded time when the PC does not read.
bool WriteAll(int fd, std::string_view bytes);

} // namespace zrnsim
