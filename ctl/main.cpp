// zrnctl: ZRN devices from the command line.
#include "Cli.h"
#include "Fleet.h"
#include "LogAction.h"
#include "Model.h"
#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace zrnctl;

int BadUsage(const std::string& reason) {
    std::fprintf(stderr, "zrnctl: %s\n", reason.c_str());
    return EXIT_BAD_USAGE;
}

// What can be refused before any device is asked: the plan file on its own,
// or a command without anything to do.
std::optional<std::string> RefuseBeforeSending(const Request& request) {
    if (request.action == Action::SdiSet && request.sdi.Empty())
        return "sdi set: give at least one of --address, --delay, --valve, --hold, --pump";
    if (request.action == Action::PlanExport && request.ports.size() > 1)
        return "plan export reads one device: give one --port";
    if (request.action != Action::PlanImport && request.action != Action::PlanDiff)
        return std::nullopt;
    const auto plan = zrn::ReadPlanFile(request.file);
    if (const Refusal* refusal = std::get_if<Refusal>(&plan))
        return request.file + ": " + refusal->Text() + "; nothing sent";
    return std::nullopt;
}

// Export writes one file: the scan must find exactly one device.
std::optional<std::string> OneDevice(const Request& request, std::vector<std::string>& ports) {
    Request probe = request;
    probe.action = Action::Ports;
    std::vector<std::string> devices;
    for (const DeviceResult& result : RunOnPorts(probe, ports, true))
        if (result.outcome == Outcome::Done)
            devices.push_back(result.port);
    if (devices.size() > 1) {
        std::string list;
        for (const std::string& port : devices)
            list += (list.empty() ? "" : ", ") + port;
        return "plan export reads one device, and devices answer on " + list + ": give one --port";
    }
    ports = devices;
    return std::nullopt;
}

int Run(const Request& request) {
    if (request.action == Action::Log)
        return ShowLog(request);
    if (const std::optional<std::string> refusal = RefuseBeforeSending(request))
        return BadUsage(*refusal);
    std::vector<std::string> warnings;
    if (request.action == Action::ClockCheck || request.action == Action::ClockSync)
        if (const std::optional<std::string> unsynchronised = PcClockUnsynchronised()) {
            std::fprintf(stderr, "zrnctl: warning: %s\n", unsynchronised->c_str());
            warnings.push_back(*unsynchronised);
        }
    const bool scan = request.ports.empty();
    std::vector<std::string> ports = scan ? zrn::SystemSerialPorts() : request.ports;
    if (scan && ports.empty())
        std::fprintf(stderr, "zrnctl: no serial port to try%s\n",
                     std::getenv("ZRNCOM_PORTS") ? " (ZRNCOM_PORTS names none)" : "");
    if (scan && request.action == Action::PlanExport)
        if (const std::optional<std::string> refusal = OneDevice(request, ports))
            return BadUsage(*refusal);
    const std::vector<DeviceResult> results = RunOnPorts(request, ports, scan);
    PrintReport(results, request.json, warnings);
    return ExitStatus(results);
}

} // namespace

int main(int argc, char** argv) {
    const zrnctl::Parsed parsed = zrnctl::ParseCommandLine(argc, argv);
    if (!parsed.request)
        return parsed.status;
    return Run(*parsed.request);
}
