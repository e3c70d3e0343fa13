// ZRNcom (offscreen) polling zrnsim, sampled once a minute from /proc: CPU
// seconds per minute and resident memory of the program alone; and, from
// --settle seconds after start-up (30 unless told) to the end, its wakeups a
// second (voluntary context switches of every thread) and CPU seconds a
// minute, thread by thread.
//
//   poll_soak [--minutes N] [--seconds N] [--settle N] [--baud N] [--via rfc2217|tcp]
//       an idle device, debug output off; zrnsim with 9600-baud byte timing
//       unless told (--baud 0: every answer at once, as zrnsim runs by default);
//       --via: through Debian's ser2net on loopback
//   poll_soak --faults [--minutes N] [--seconds N]   NAKs, bad checksums, noise,
//       dropped answers and an unplug every 60 s (30 minutes unless told);
//       also reports crashes, the longest time from a replug back to polling,
//       and every reply the program took that the device never sent.
#include "Gateway.h"
#include "ProcTasks.h"
#include "SimProcess.h"
#include "ZrnComProcess.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

struct ProcSample {
    bool alive = false;
    double cpuSeconds = 0; // user + system
    long rssKiB = 0;
};

ProcSample Sample(pid_t pid) {
    ProcSample s;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return s;
    // Fields after the command name in parentheses: state is field 3, utime 14, stime 15.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::vector<std::string> fields;
    for (std::string f; rest >> f;)
        fields.push_back(f);
    if (fields.size() < 13)
        return s;
    s.alive = fields[0] != "Z" && fields[0] != "X";
    const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
    s.cpuSeconds = (std::stod(fields[11]) + std::stod(fields[12])) / tick;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:"))
            s.rssKiB = std::atol(line.c_str() + 6);
    return s;
}

// The reply texts the simulator sent, from its trace ("< text  [bytes]").
std::set<std::string> SentReplies(const std::string& tracePath) {
    std::set<std::string> sent;
    std::ifstream in(tracePath);
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("< ") || line == "< ACK" || line == "< NAK" ||
            line.starts_with("< noise "))
            continue;
        const std::size_t bytes = line.rfind("  [");
        if (bytes != std::string::npos)
            sent.insert(line.substr(2, bytes - 2));
    }
    return sent;
}

// Frames the simulator has received so far ("> text" in its trace).
std::size_t CommandsReceived(const std::string& tracePath) {
    std::ifstream in(tracePath);
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.starts_with("> ");
    return count;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    bool faults = false;
    int seconds = -1;
    int settle = 30;
    std::string baud = "9600";
    std::string via;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--faults")
            faults = true;
        else if (arg == "--minutes" && i + 1 < argc)
            seconds = 60 * std::atoi(argv[++i]);
        else if (arg == "--seconds" && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
        else if (arg == "--settle" && i + 1 < argc)
            settle = std::atoi(argv[++i]);
        else if (arg == "--baud" && i + 1 < argc)
            baud = argv[++i];
        else if (arg == "--via" && i + 1 < argc)
            via = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: %s [--faults] [--minutes N | --seconds N] [--settle N] [--baud N] "
                         "[--via rfc2217|tcp]\n",
                         argv[0]);
            return 2;
        }
    }
    if (seconds <= 0)
        seconds = faults ? 30 * 60 : 5 * 60;

    const auto workDir = fs::temp_directory_path() / ("zrncom-soak-" + std::to_string(::getpid()));
    fs::create_directories(workDir);
    const std::string link = (workDir / "device").string();
    const std::string trace = (workDir / "sim.trace").string();

    std::vector<std::string> simArgs{"--baud", baud, "--link", link, "--unplug-pause", "1000"};
    // The trace counts the commands the device received.
    simArgs.emplace_back("--trace");
    if (faults) {
        for (const char* arg : {"--nak-rate", "0.03", "--bad-crc-rate", "0.03", "--noise-rate",
                                "0.05", "--drop-rate", "0.03", "--seed", "7"})
            simArgs.emplace_back(arg);
    }
    zrnsim::SimProcess device(ZRNSIM_PROGRAM, simArgs, trace);
    if (device.TerminalPath().empty())
        return 1;
    std::string port = link;
    std::unique_ptr<zrnsim::Gateway> gateway;
    if (!via.empty()) {
        gateway = std::make_unique<zrnsim::Gateway>(link, workDir.string());
        if (!gateway->Start())
            return 1;
        port = via == "tcp" ? gateway->RawUrl() : gateway->Rfc2217Url();
    }
    // Debug output shows the fault run what the program took; the idle run
    // measures the program as an operator runs it, without it.
    std::vector<std::pair<std::string, std::string>> env{{"QT_QPA_PLATFORM", "offscreen"},
                                                         {"ZRNCOM_PORTS", port}};
    if (faults)
        env.emplace_back("ZRNCOM_DEBUG", "1");
    zrntest::ZrnComProcess zrncom({ZRNCOM_PROGRAM, {}, env, workDir.string()});
    if (!zrncom.Started())
        return 1;

    const auto start = Clock::now();
    std::vector<double> cpuPerMinute;
    std::vector<long> rssPerMinute;
    std::vector<double> replugToPoll;
    double lastCpu = 0;
    bool crashed = false;
    auto nextMinute = start + 60s;
    const auto settled = start + std::chrono::seconds(settle);
    std::optional<std::map<pid_t, TaskCounts>> tasksSettled;
    std::map<pid_t, TaskCounts> tasksEnd;
    Clock::time_point settledAt{}, endAt{};
    std::size_t commandsSettled = 0, commandsEnd = 0;
    auto nextUnplug = start + 60s;
    bool waitingForPoll = false; // a replug seen, its first clock reply not yet
    Clock::time_point replugged{};
    std::size_t scanned = 0;
    const auto end = start + std::chrono::seconds(seconds);

    while (Clock::now() < end) {
        zrncom.ReadFor(200ms);
        if (faults) {
            // The simulator prints the terminal's path again when it is back.
            while (device.ReadLine(20ms)) { // a shorter wait rounds down to none
                replugged = Clock::now();
                waitingForPoll = true;
            }
            const auto& lines = zrncom.Lines();
            for (; scanned < lines.size(); ++scanned) {
                if (waitingForPoll && lines[scanned].at >= replugged &&
                    lines[scanned].text.starts_with("RES C|")) {
                    replugToPoll.push_back(Seconds(lines[scanned].at - replugged));
                    waitingForPoll = false;
                }
            }
            if (Clock::now() >= nextUnplug) {
                device.Signal(SIGUSR1);
                nextUnplug += 60s;
            }
        }
        if (!tasksSettled && Clock::now() >= settled) {
            tasksSettled = SampleTasks(zrncom.Pid());
            settledAt = Clock::now();
            commandsSettled = CommandsReceived(trace);
        }
        if (Clock::now() >= nextMinute || Clock::now() >= end) {
            const ProcSample s = Sample(zrncom.Pid());
            if (!s.alive) {
                crashed = true;
                break;
            }
            cpuPerMinute.push_back(s.cpuSeconds - lastCpu);
            rssPerMinute.push_back(s.rssKiB);
            lastCpu = s.cpuSeconds;
            nextMinute += 60s;
        }
    }
    if (tasksSettled) {
        tasksEnd = SampleTasks(zrncom.Pid());
        endAt = Clock::now();
        commandsEnd = CommandsReceived(trace);
    }
    const double elapsed = Seconds(Clock::now() - start);
    zrncom.Stop();

    std::printf("ZRNcom polling zrnsim --baud %s%s%s (%s) for %.0f s\n", baud.c_str(),
                via.empty() ? "" : " through ser2net as ", via.c_str(),
                faults
                    ? "NAKs 3%, bad checksums 3%, noise 5%, dropped answers 3%, unplug every 60 s"
                    : "idle device, debug output off",
                elapsed);
    std::printf("  crashed: %s\n", crashed ? "YES" : "no");
    std::printf("  CPU seconds per minute:");
    for (double cpu : cpuPerMinute)
        std::printf(" %.2f", cpu);
    std::printf("\n  resident memory KiB per minute:");
    for (long rss : rssPerMinute)
        std::printf(" %ld", rss);
    std::printf("\n");
    if (!rssPerMinute.empty())
        std::printf("  resident memory: %ld KiB at minute 1, %ld KiB at the end\n",
                    rssPerMinute.front(), rssPerMinute.back());
    if (tasksSettled && !crashed) {
        const double span = Seconds(endAt - settledAt);
        std::printf("  from %d s after start-up, over %.0f s: %.2f commands a second\n", settle,
                    span, static_cast<double>(commandsEnd - commandsSettled) / span);
        std::printf("    %-18s %12s %16s\n", "thread", "wakeups/s", "CPU s/minute");
        long long wakeups = 0;
        double cpu = 0;
        for (const auto& [name, counts] : ByName(*tasksSettled, tasksEnd)) {
            std::printf("    %-18s %12.1f %16.4f\n", name.c_str(),
                        static_cast<double>(counts.wakeups) / span, counts.cpuSeconds * 60 / span);
            wakeups += counts.wakeups;
            cpu += counts.cpuSeconds;
        }
        std::printf("    %-18s %12.1f %16.4f\n", "(program)", static_cast<double>(wakeups) / span,
                    cpu * 60 / span);
        if (commandsEnd > commandsSettled)
            std::printf("    %.1f wakeups a command\n",
                        static_cast<double>(wakeups) /
                            static_cast<double>(commandsEnd - commandsSettled));
    }
    if (faults) {
        std::printf("  unplugs: %zu replugs back to polling; longest %.2f s\n", replugToPoll.size(),
                    replugToPoll.empty()
                        ? 0.0
                        : *std::max_element(replugToPoll.begin(), replugToPoll.end()));
        const std::set<std::string> sent = SentReplies(trace);
        std::size_t taken = 0, foreign = 0;
        for (const auto& line : zrncom.Lines()) {
            if (!line.text.starts_with("RES "))
                continue;
            ++taken;
            if (!sent.contains(line.text.substr(4))) {
                ++foreign;
                std::printf("  NOT SENT BY THE DEVICE: %s\n", line.text.c_str());
            }
        }
        std::printf("  replies taken by the program: %zu; of them never sent by the device: %zu\n",
                    taken, foreign);
    }
    fs::remove_all(workDir);
    return crashed ? 1 : 0;
}
