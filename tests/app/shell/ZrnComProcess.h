#pragma once
// Runs ZRNcom as a child process for end-to-end tests and benchmarks: its
// debug output is read line by line, each line stamped as it arrives, and the
// process is stopped by its PID (with its resource usage) when done.
#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace zrntest {

using Clock = std::chrono::steady_clock;

struct DebugLine {
    std::string text; // without the line end
    Clock::time_point at;
};

struct ZrnComRun {
    std::string program;                                  // the ZRNcom executable
    std::vector<std::string> args;                        // after the program name
    std::vector<std::pair<std::string, std::string>> env; // added to a clean environment
    std::string workDir;                                  // empty: the caller's
};

class ZrnComProcess {
public:
    // runAs: another user and group to run as (needs root).
    explicit ZrnComProcess(const ZrnComRun& run,
                           std::optional<std::pair<uid_t, gid_t>> runAs = std::nullopt);
    ZrnComProcess(const ZrnComProcess&) = delete;
    ZrnComProcess& operator=(const ZrnComProcess&) = delete;
    ~ZrnComProcess();

    pid_t Pid() const { return pid_; }
    bool Started() const { return pid_ > 0; }

    // Reads on until a line (from `from` on) contains piece; its index, or
    // nullopt after the time-out or at the end of the output.
    std::optional<std::size_t> WaitFor(std::string_view piece, std::chrono::milliseconds timeout,
                                       std::size_t from = 0);
    // Reads whatever arrives for this long (keeps the pipe drained).
    void ReadFor(std::chrono::milliseconds duration);
    const std::vector<DebugLine>& Lines() const { return lines_; }

    // SIGTERM, then SIGKILL if it lingers; the child's own resource usage.
    std::optional<struct rusage> Stop();

private:
    bool Pump(Clock::time_point deadline); // false at the end of the output

    pid_t pid_ = -1;
    int out_ = -1;
    std::string partial_;
    std::vector<DebugLine> lines_;
};

// Traffic logs in the program's folder, to tell the one a run creates.
std::set<std::string> TrafficLogs(const std::string& program);
std::vector<std::string> ReadLogLines(const std::string& path);

} // namespace zrntest
