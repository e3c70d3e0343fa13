#pragma once
// Runs zrnsim as a child process for tests and benchmarks: waits for its first
// line (the terminal path) and stops it by its PID when destroyed.

#include "UniqueFd.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zrnsim {

class SimProcess {
public:
    // Standard error goes to errorPath when one is given.
    SimProcess(const std::string& program, const std::vector<std::string>& args,
               const std::string& errorPath = {});
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess();

    // The next line of its standard output, or nullopt after the time-out or at its end.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // The first line once it has been read; empty when the program did not start.
    const std::string& TerminalPath() const { return path_; }

    void Signal(int signal) const;
    // Waits for the exit; the exit status, or -1 after the time-out or on a signal.
    int Wait(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    zrn::UniqueFd out_;
    std::string buffered_;
    std::string path_;
};

// Whether the predicate holds within the time-out, asked every few milliseconds.
template <typename Predicate> bool WaitFor(Predicate predicate, std::chrono::milliseconds timeout);

} // namespace zrnsim

#include <thread>

template <typename Predicate>
bool zrnsim::WaitFor(Predicate predicate, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
