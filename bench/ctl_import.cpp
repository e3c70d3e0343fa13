// zrnctl storing a plan of four schedules, against zrnsim at 9600 baud: the
// time of one device against the wire bound of what it exchanged (the bytes
// both ways at 960 bytes/s plus one 20 ms idle read per command), and eight
// devices at once against one.
//
//   ctl_import [runs] [--devices N] [--via rfc2217|tcp] [--delay-ms D]
//
// With --via every device is reached through one ser2net on loopback; with
// --delay-ms also through a relay that holds each chunk D ms each way, and the
// bound gains a round trip per command.
#include "DelayProxy.h"
#include "Gateway.h"
#include "SimProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kFrameOverhead = 7; // STX, ETX, four check digits, CR

constexpr const char* kPlan = R"({"zrn_plan": 1, "schedules": [
  {"schedule": 1, "status": "active", "start": "2030-03-03T07:00:00", "stop": "2030-03-10T06:59:59", "interval": "00:15:00", "valve": "01:30", "hold": "00:45", "pump": "02:00"},
  {"schedule": 2, "status": "inactive", "start": "2030-04-01T00:00:00", "stop": "2030-04-08T00:00:00", "interval": "01:00:00", "valve": "01:00", "hold": "01:00", "pump": "01:00"},
  {"schedule": 3, "status": "active", "start": "2030-05-01T00:00:00", "stop": "2030-05-08T00:00:00", "interval": "00:30:00", "valve": "00:30", "hold": "00:30", "pump": "00:30"},
  {"schedule": 4, "status": "empty"}]})";

struct Wire {
    std::size_t commands = 0;
    std::size_t bytes = 0;
    double Bound() const { return static_cast<double>(bytes) / 960.0 + 0.020 * commands; }
};

// What zrnsim's trace shows went over the line: "> text" a frame from the PC,
// "< ACK" / "< NAK" one byte, "< text  [frame]" a reply.
Wire WireOf(const fs::path& trace) {
    Wire wire;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("> ")) {
            ++wire.commands;
            wire.bytes += line.size() - 2 + kFrameOverhead;
        } else if (line == "< ACK" || line == "< NAK") {
            wire.bytes += 1;
        } else if (line.starts_with("< ")) {
            const std::size_t end = line.find("  [");
            wire.bytes += (end == std::string::npos ? line.size() : end) - 2 + kFrameOverhead;
        }
    }
    return wire;
}

struct Import {
    double seconds = 0;
    Wire wire; // of the first device
};

struct Route {
    std::string via; // "", "rfc2217" or "tcp"
    int delayMs = 0; // each way, through DelayProxy
};

// n fresh devices, one import onto all of them.
std::optional<Import> ImportOnto(int n, const fs::path& dir, const Route& route) {
    std::vector<std::unique_ptr<zrnsim::SimProcess>> sims;
    std::vector<std::string> devices;
    for (int i = 0; i < n; ++i) {
        const fs::path trace = dir / ("trace" + std::to_string(i) + ".txt");
        std::vector<std::string> switches{"--baud", "9600", "--trace"};
        if (!route.via.empty())
            switches.insert(switches.end(),
                            {"--link", (dir / ("tty" + std::to_string(i))).string()});
        sims.push_back(
            std::make_unique<zrnsim::SimProcess>(ZRNSIM_PROGRAM, switches, trace.string()));
        if (sims.back()->TerminalPath().empty())
            return std::nullopt;
        devices.push_back(route.via.empty() ? sims.back()->TerminalPath()
                                            : (dir / ("tty" + std::to_string(i))).string());
    }
    std::unique_ptr<zrnsim::Gateway> gateway;
    std::vector<std::unique_ptr<DelayProxy>> proxies;
    std::string ports;
    if (route.via.empty()) {
        for (const std::string& device : devices)
            ports += " --port " + device;
    } else {
        gateway = std::make_unique<zrnsim::Gateway>(devices, dir.string());
        if (!gateway->Start())
            return std::nullopt;
        for (int i = 0; i < n; ++i) {
            std::string url = route.via == "tcp" ? gateway->RawUrl(static_cast<std::size_t>(i))
                                                 : gateway->Rfc2217Url(static_cast<std::size_t>(i));
            if (route.delayMs > 0) {
                const int port = std::stoi(url.substr(url.rfind(':') + 1));
                proxies.push_back(
                    std::make_unique<DelayProxy>(port, std::chrono::milliseconds(route.delayMs)));
                url = url.substr(0, url.rfind(':') + 1) + std::to_string(proxies.back()->Port());
            }
            ports += " --port " + url;
        }
    }
    // Its backups and journal beside the traces, not in the user's state folder.
    const std::string command = "env XDG_STATE_HOME=" + (dir / "state").string() + " " +
                                ZRNCTL_PROGRAM + ports + " plan import " +
                                (dir / "plan.json").string() + " >/dev/null";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    proxies.clear();
    gateway.reset();
    sims.clear(); // the traces are complete once the simulators have ended
    return Import{seconds, WireOf(dir / "trace0.txt")};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    int devices = 8;
    Route route;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--devices")
            devices = std::max(1, std::atoi(argv[i + 1]));
        else if (name == "--via")
            route.via = argv[i + 1];
        else if (name == "--delay-ms")
            route.delayMs = std::max(0, std::atoi(argv[i + 1]));
    }
    if (route.delayMs > 0 && route.via.empty())
        route.via = "rfc2217";
    const fs::path dir = fs::temp_directory_path() / ("ctl_import-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "plan.json") << kPlan;
    std::vector<double> one, eight;
    Wire wire;
    for (int i = 0; i < runs; ++i) {
        const auto single = ImportOnto(1, dir, route);
        const auto many = ImportOnto(devices, dir, route);
        if (!single || !many) {
            std::fprintf(stderr, "ctl_import: an import failed\n");
            fs::remove_all(dir);
            return 1;
        }
        one.push_back(single->seconds);
        eight.push_back(many->seconds);
        wire = single->wire;
    }
    fs::remove_all(dir);
    const double t1 = Median(one), t8 = Median(eight);
    std::printf("zrnctl plan import, 4 schedules (2 active, 1 inactive, 1 empty), zrnsim --baud "
                "9600, %d runs (medians)%s%s",
                runs, route.via.empty() ? "" : ", through ser2net as ", route.via.c_str());
    if (route.delayMs > 0)
        std::printf(" and a relay adding %d ms each way", route.delayMs);
    std::printf("\n");
    std::printf("commands          %zu (probe, clock, uploads, read-backs, activations)\n",
                wire.commands);
    std::printf("bytes both ways   %zu\n", wire.bytes);
    std::printf("wire bound        %.3f s (bytes at 960 bytes/s + %zu x 20 ms)\n", wire.Bound(),
                wire.commands);
    std::printf("one device        %.3f s, %.2f x the bound (process start included)\n", t1,
                t1 / wire.Bound());
    if (route.delayMs > 0) {
        const double bound = wire.Bound() + wire.commands * 2 * route.delayMs / 1000.0;
        std::printf("bound with delay  %.3f s (+ %zu x %d ms round trip): one device %.2f x it\n",
                    bound, wire.commands, 2 * route.delayMs, t1 / bound);
    }
    std::printf("%d at once %8.3f s, %.2f x one device\n", devices, t8, t8 / t1);
    return 0;
}
