#include "Fleet.h"

#include "Actions.h"
#include "Describe.h"
#include "Platform.h"

namespace zrnctl {
namespace {

std::vector<std::string> ActionArguments(const Request& request) {
    switch (request.action) {
    case Action::Info:
        return {"info"};
    case Action::PlanExport:
        return {"plan", "export", request.file};
    case Action::PlanImport:
        if (request.dryRun)
            return {"plan", "import", request.file, "--dry-run"};
        return {"plan", "import", request.file};
    case Action::ClockShow:
        return {"clock", "show"};
    case Action::ClockSync:
        return {"clock", "sync"};
    case Action::Ports:
        return {"ports"};
    case Action::SdiSet:
        break;
    }
    std::vector<std::string> args{"sdi", "set"};
    const SdiChange& sdi = request.sdi;
    if (sdi.address)
        args.insert(args.end(), {"--address", std::string(1, *sdi.address)});
    if (sdi.delay)
        args.insert(args.end(), {"--delay", std::to_string(*sdi.delay)});
    for (const auto& [name, seconds] :
         {std::pair{"--valve", sdi.valve}, std::pair{"--hold", sdi.hold},
          std::pair{"--pump", sdi.pump}})
        if (seconds)
            args.insert(args.end(), {name, SecondsText(*seconds)});
    return args;
}

} // namespace

std::vector<std::string> WorkerArguments(const Request& request, const std::string& port,
                                         bool probe) {
    std::vector<std::string> args{"--worker", "--port", port};
    if (probe)
        args.push_back("--probe");
    const std::vector<std::string> action = ActionArguments(request);
    args.insert(args.end(), action.begin(), action.end());
    return args;
}

std::vector<DeviceResult> RunOnPorts(const Request& request, const std::vector<std::string>& ports,
                                     bool probe) {
    if (ports.size() == 1) {
        Request one = request;
        one.probe = probe;
        return {RunOnPort(one, ports.front())};
    }
    std::vector<std::vector<std::string>> argumentLists;
    for (const std::string& port : ports)
        argumentLists.push_back(WorkerArguments(request, port, probe));
    const std::vector<CopyRun> runs = RunCopies(argumentLists);
    std::vector<DeviceResult> results;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        std::optional<DeviceResult> result = ResultFromWorker(runs[i].output, ports[i]);
        if (!result)
            result = DeviceResult{ports[i],
                                  Outcome::Failed,
                                  "its zrnctl ended without a result (status " +
                                      std::to_string(runs[i].status) + ")",
                                  {},
                                  {}};
        results.push_back(std::move(*result));
    }
    return results;
}

} // namespace zrnctl
