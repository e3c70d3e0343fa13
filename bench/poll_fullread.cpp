// The full read through the program: ZRNcom (offscreen) finds zrnsim running
// at 9600 baud, and the time from the tick that queues the full read to the
// handling of its last reply is compared with the design bound: every byte on
// the wire at 960 bytes/s plus one 20 ms idle read per command.
#include "SimProcess.h"
#include "ZrnComProcess.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr std::size_t kFrameOverhead = 7; // STX, ETX, four check digits, CR
constexpr std::size_t kFullReadCommands = 9 + 4 * 9;

struct Run {
    double seconds = 0;
    double bound = 0;
};

std::optional<Run> MeasureOnce(const std::string& program, const std::string& sim,
                               const std::string& workDir) {
    zrnsim::SimProcess device(sim, {"--baud", "9600"});
    if (device.TerminalPath().empty())
        return std::nullopt;
    zrntest::ZrnComProcess zrncom({program,
                                   {},
                                   {{"QT_QPA_PLATFORM", "offscreen"},
                                    {"ZRNCOM_DEBUG", "1"},
                                    {"ZRNCOM_PORTS", device.TerminalPath()}},
                                   workDir});
    // The library traces each queued command: the first "F" is the full read's tick.
    const auto start = zrncom.WaitFor("ZrnSend pushed F,", 20s);
    if (!start)
        return std::nullopt;
    const auto last = zrncom.WaitFor("RES S4P", 20s, *start);
    if (!last)
        return std::nullopt;
    const auto handled = zrncom.WaitFor("Processing Response: S", 5s, *last);
    if (!handled)
        return std::nullopt;
    const auto& lines = zrncom.Lines();

    // Bytes of the 45 commands, their ACKs and their replies, as the program saw them.
    // Later ticks queue behind the full read, so every reply up to the last one is its own.
    std::size_t bytes = 0, commands = 0;
    for (std::size_t i = *start; i <= *last; ++i) {
        const std::string& text = lines[i].text;
        if (text.starts_with("ZrnSend pushed ") && commands < kFullReadCommands) {
            const std::string command = text.substr(15, text.find(',', 15) - 15);
            bytes += command.size() + kFrameOverhead + 1; // and its ACK
            ++commands;
        } else if (text.starts_with("RES ")) {
            bytes += text.size() - 4 + kFrameOverhead;
        }
    }
    Run run;
    run.seconds = std::chrono::duration<double>(lines[*handled].at - lines[*start].at).count();
    run.bound = static_cast<double>(bytes) / 960.0 + 0.020 * static_cast<double>(commands);
    std::printf("  %zu commands, %zu bytes on the wire: %.3f s, bound %.3f s, ratio %.2f\n",
                commands, bytes, run.seconds, run.bound, run.seconds / run.bound);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto workDir =
        std::filesystem::temp_directory_path() / ("zrncom-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(workDir);
    std::printf("full read through ZRNcom against zrnsim --baud 9600, %d runs\n", runs);
    std::vector<double> ratios, seconds;
    for (int i = 0; i < runs; ++i) {
        const auto run = MeasureOnce(ZRNCOM_PROGRAM, ZRNSIM_PROGRAM, workDir.string());
        if (!run) {
            std::fprintf(stderr, "run %d: the full read did not complete\n", i + 1);
            continue;
        }
        ratios.push_back(run->seconds / run->bound);
        seconds.push_back(run->seconds);
    }
    std::filesystem::remove_all(workDir);
    if (ratios.empty())
        return 1;
    std::sort(ratios.begin(), ratios.end());
    std::sort(seconds.begin(), seconds.end());
    std::printf("median %.3f s (min %.3f, max %.3f); ratio to the bound: median %.2f "
                "(min %.2f, max %.2f)\n",
                seconds[seconds.size() / 2], seconds.front(), seconds.back(),
                ratios[ratios.size() / 2], ratios.front(), ratios.back());
    return 0;
}
