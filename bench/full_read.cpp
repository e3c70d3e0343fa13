// The full read after a connection (nine status queries, then the nine queries of
// each of the four schedules) through libZRNComDll.so against zrnsim at 9600 baud.
// Prints the time taken, the bytes each way and the ratio to the design bound:
// those bytes at 960 bytes/s plus one 20 ms idle read per command.
//
//   full_read [runs] [--via rfc2217|tcp] [more zrnsim switches, e.g. --turnaround 0]
//
// With --via the link reaches zrnsim through Debian's ser2net on loopback.
#include "Gateway.h"
#include "LinkProbe.h"
#include "SimProcess.h"
#include "model/Catalogue.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kFrameOverhead = 7; // STX, ETX, four check digits, CR

// The program's own sequences, so the figure follows what it really sends.
std::vector<std::string> FullRead() {
    std::vector<std::string> commands = zrn::FullReadSequence();
    for (int n = 1; n <= 4; ++n) {
        const zrn::CommandList schedule = zrn::ScheduleReadSequence(n);
        commands.insert(commands.end(), schedule.begin(), schedule.end());
    }
    return commands;
}

struct Run {
    double seconds = 0;
    std::size_t toDevice = 0, fromDevice = 0;
    std::size_t replies = 0;
};

// Queues every command at once, as the program does, and waits for every answer.
bool ReadEverything(const std::vector<std::string>& commands, Run& run) {
    auto& link = zrnsim::LinkProbe::Instance();
    const auto start = Clock::now();
    for (const std::string& command : commands) {
        link.Send(command);
        run.toDevice += command.size() + kFrameOverhead;
    }
    std::size_t answers = 0;
    while (answers < commands.size() || run.replies < commands.size()) {
        const auto event = link.Next(10s);
        if (!event)
            return false;
        if (event->code == LINK_ACK || event->code == LINK_NAK) {
            ++answers;
            run.fromDevice += 1;
        } else {
            ++run.replies;
            run.fromDevice += event->text.value_or("").size() + kFrameOverhead;
        }
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<std::string> switches{"--baud", "9600"};
    switches.insert(switches.end(), argv + std::min(argc, 2), argv + argc);
    std::string via;
    if (const auto at = std::find(switches.begin(), switches.end(), "--via");
        at != switches.end() && at + 1 != switches.end()) {
        via = *(at + 1);
        switches.erase(at, at + 2);
    }
    const auto folder =
        std::filesystem::temp_directory_path() / ("full-read-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    if (!via.empty())
        switches.insert(switches.end(), {"--link", (folder / "zrn-tty").string()});
    zrnsim::SimProcess sim(ZRNSIM_PROGRAM, switches);
    std::string port = sim.TerminalPath();
    std::unique_ptr<zrnsim::Gateway> gateway;
    if (!via.empty()) {
        gateway = std::make_unique<zrnsim::Gateway>((folder / "zrn-tty").string(), folder.string());
        if (!gateway->Start()) {
            std::fprintf(stderr, "full_read: ser2net did not start\n");
            return 1;
        }
        port = via == "tcp" ? gateway->RawUrl() : gateway->Rfc2217Url();
    }
    if (sim.TerminalPath().empty() || !zrnsim::LinkProbe::Instance().Open(port)) {
        std::fprintf(stderr, "full_read: could not start zrnsim or open %s\n", port.c_str());
        return 1;
    }
    const std::vector<std::string> commands = FullRead();
    std::vector<double> times;
    Run run;
    for (int i = 0; i < runs; ++i) {
        run = Run{};
        if (!ReadEverything(commands, run)) {
            std::fprintf(stderr, "full_read: the device stopped answering\n");
            return 1;
        }
        times.push_back(run.seconds);
    }
    zrnsim::LinkProbe::Instance().Close();
    gateway.reset();
    std::filesystem::remove_all(folder);
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const std::size_t bytes = run.toDevice + run.fromDevice;
    const double bound = static_cast<double>(bytes) / 960.0 + 0.020 * commands.size();
    std::printf("full read: %zu commands, %zu replies, %d runs%s%s; zrnsim", commands.size(),
                run.replies, runs, via.empty() ? "" : " via ser2net ", via.c_str());
    for (const std::string& s : switches)
        std::printf(" %s", s.c_str());
    std::printf("\n");
    std::printf("bytes to device   %zu\nbytes from device %zu\n", run.toDevice, run.fromDevice);
    std::printf("time              median %.3f s (min %.3f, max %.3f)\n", median, times.front(),
                times.back());
    std::printf("design bound      %.3f s (%zu bytes at 960 bytes/s + %zu x 20 ms)\n", bound, bytes,
                commands.size());
    std::printf("ratio             %.2f\n", median / bound);
    return 0;
}
