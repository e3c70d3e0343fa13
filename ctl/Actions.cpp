#include "Actions.h"

#include "Changes.h"
#include "Platform.h"

#include <cstdio>
#include <mutex>

namespace zrnctl {
namespace {

ProgressSink ProgressFor(const std::string& port) {
    if (!StderrIsTerminal())
        return {};
    return [port](std::string_view step) {
        // Every port's thread writes here: one whole line at a time.
        static std::mutex mutex;
        const std::string line = port + ": " + std::string(step) + "\n";
        const std::lock_guard lock(mutex);
        std::fwrite(line.data(), 1, line.size(), stderr);
    };
}

// The library's reason names the port, which the report puts in front anyway.
std::string WithoutPort(const std::string& message, const std::string& port) {
    const std::string prefix = port + ": ";
    return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

// Any answer to the probe, ACK or NAK, shows a device on the line.
bool Answers(Link& link) {
    return link.Exchange(zrn::ProbeCommand(), false).kind != AnswerKind::Lost;
}

DeviceResult Act(const Request& request, Device& device) {
    switch (request.action) {
    case Action::Info:
        return ReadInfo(device);
    case Action::PlanExport:
        return ExportPlan(device, request.file);
    case Action::PlanDiff:
    case Action::PlanImport: {
        auto plan = zrn::ReadPlanFile(request.file);
        if (const Refusal* refusal = std::get_if<Refusal>(&plan))
            return {{}, Outcome::Refused, request.file + ": " + refusal->Text(), {}, {}};
        if (request.action == Action::PlanDiff)
            return DiffPlan(device, std::get<Plan>(plan));
        return ImportPlan(device, std::get<Plan>(plan), request.dryRun);
    }
    case Action::ClockShow:
        return ShowClock(device);
    case Action::ClockSync:
        return SyncClock(device, request.ifDriftOver);
    case Action::ClockCheck:
        return CheckClock(device, request.maxDrift);
    case Action::SdiSet:
        return SetSdi(device, request.sdi);
    case Action::Ports:
        return {{}, Outcome::Done, "a device answers", {}, {}};
    case Action::Log:
        break; // reads no device
    }
    return {};
}

} // namespace

DeviceResult RunOnPort(const Request& request, const std::string& port) {
    // A port from the scan, or the port list itself, may well have no device.
    const Outcome absent =
        request.probe || request.action == Action::Ports ? Outcome::NoDevice : Outcome::Failed;
    Link link;
    if (const std::optional<std::string> failure = link.Open(port))
        return {port, absent, WithoutPort(*failure, port), {}, {}};
    if (!Answers(link))
        return {port,
                absent,
                link.LostReason() ? LostText(*link.LostReason()) : "no device answers",
                {},
                {}};
    Device device(link, ProgressFor(port));
    Changes changes(port);
    device.Watch(changes);
    DeviceResult result;
    try {
        result = Act(request, device);
    } catch (const DeviceFailure& failure) {
        result = {{}, Outcome::Failed, failure.what(), {}, {}};
    }
    result.port = port;
    changes.AddTo(result);
    return result;
}

} // namespace zrnctl
