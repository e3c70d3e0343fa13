// ZRNcom (offscreen) polling zrnsim for a minute: CPU seconds and peak
// resident memory of the program alone, from wait4.
#include "SimProcess.h"
#include "ZrnComProcess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace std::chrono_literals;

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const auto workDir =
        std::filesystem::temp_directory_path() / ("zrncom-soak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(workDir);

    zrnsim::SimProcess device(ZRNSIM_PROGRAM, {"--baud", "9600"});
    if (device.TerminalPath().empty())
        return 1;
    // Debug output on, as in the other runs: it costs the program some of its CPU time.
    zrntest::ZrnComProcess zrncom({ZRNCOM_PROGRAM,
                                   {},
                                   {{"QT_QPA_PLATFORM", "offscreen"},
                                    {"ZRNCOM_DEBUG", "1"},
                                    {"ZRNCOM_PORTS", device.TerminalPath()}},
                                   workDir.string()});
    const auto found = zrncom.WaitFor("RES S4P", 20s);
    if (!found) {
        std::fprintf(stderr, "ZRNcom did not find the device\n");
        return 1;
    }
    zrncom.ReadFor(std::chrono::seconds(seconds));
    std::size_t clockReplies = 0;
    for (const auto& line : zrncom.Lines())
        clockReplies += line.text.starts_with("RES C|");
    const auto usage = zrncom.Stop();
    std::filesystem::remove_all(workDir);
    if (!usage)
        return 1;
    const double user = static_cast<double>(usage->ru_utime.tv_sec) +
                        static_cast<double>(usage->ru_utime.tv_usec) / 1e6;
    const double system = static_cast<double>(usage->ru_stime.tv_sec) +
                          static_cast<double>(usage->ru_stime.tv_usec) / 1e6;
    std::printf("ZRNcom polling zrnsim --baud 9600 for %d s (after start-up and the full read):\n"
                "  CPU %.2f s (user %.2f, system %.2f) over the whole run, %.2f%% of one core\n"
                "  peak resident memory %ld KiB\n  %zu clock replies handled\n",
                seconds, user + system, user, system,
                100.0 * (user + system) / static_cast<double>(seconds), usage->ru_maxrss,
                clockReplies);
    return 0;
}
