#include "Cli.h"

#include "LogAction.h"
#include "Model.h"
#include "Result.h"

#include <CLI/CLI.hpp>

namespace zrnctl {
namespace {

constexpr const char* kFooter = R"(
Without --port, zrnctl finds the devices as ZRNcom does: the ports named in
ZRNCOM_PORTS (separated by ";", or by ":" between serial ports, as in
/dev/ttyUSB0:/dev/ttyS0;rfc2217://host:7000), else every serial port of the
system, and acts on every port where a device answers. Several devices are
served at the same time.

Exit status: 0 done on every device; 1 a device or port failed (a refused
command, a read-back that differs, a port missing, busy or not permitted);
2 bad usage or a bad plan file, refused before anything was sent; 3 a device
differs from the plan (plan diff) or its clock is beyond the drift allowed
(clock check), and none failed.

See zrnctl(1), and docs/plan-format.md for plan files.)";

// A validator from one of the plan's value checks.
template <typename Check> CLI::Validator ValueCheck(const char* form, Check check) {
    return CLI::Validator([check](std::string& text) { return check(text).value_or(""); }, form);
}

Fault SdiDurationText(const std::string& text) {
    const std::optional<Span> span = ParseMinutes(text);
    if (!span)
        return "\"" + text + "\" is not of the form MM:SS";
    return SdiDurationFault(*span);
}

void AddSdiOptions(CLI::App& set, Request& request, std::string& address, std::string& valve,
                   std::string& hold, std::string& pump) {
    set.add_option("--address", address, "SDI-12 address, 0 to 9")
        ->check(ValueCheck("C", [](const std::string& text) -> Fault {
            if (text.size() != 1)
                return "\"" + text + "\" is not one character";
            return AddressFault(text[0]);
        }));
    set.add_option("--delay", request.sdi.delay, "SDI-12 delay, 0 to 999")
        ->check(CLI::Range(0, zrn::MAX_DELAY));
    set.add_option("--valve", valve, "valve time, at most 16:39")
        ->check(ValueCheck("MM:SS", SdiDurationText));
    set.add_option("--hold", hold, "hold time, at most 16:39")
        ->check(ValueCheck("MM:SS", SdiDurationText));
    set.add_option("--pump", pump, "pump time, at most 16:39")
        ->check(ValueCheck("MM:SS", SdiDurationText));
}

std::optional<int> Seconds(const std::string& text) {
    const std::optional<Span> span = ParseMinutes(text);
    if (text.empty() || !span)
        return std::nullopt;
    return span->minutes * 60 + span->seconds;
}

} // namespace

Parsed ParseCommandLine(int argc, char** argv) {
    Request request;
    CLI::App app("Program ZRN field sampling controllers from the command line: read them, "
                 "set their clock and SDI-12 settings, and store sampling plans on one or "
                 "many at once.",
                 "zrnctl");
    app.footer(kFooter);
    app.set_version_flag("--version", "zrnctl " ZRNCTL_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--port", request.ports,
                   "serial port of a device, or tcp://HOST:PORT or rfc2217://HOST:PORT of a "
                   "gateway (repeatable)")
        ->allow_extra_args(false);
    app.add_flag("--json", request.json, "print the results as one JSON document");

    CLI::App* info = app.add_subcommand(
        "info", "version, battery, clock beside the PC's, SDI settings and identification, "
                "the four schedules");
    CLI::App* plan = app.add_subcommand("plan", "schedules to and from plan files");
    plan->require_subcommand(1);
    CLI::App* exportPlan = plan->add_subcommand("export", "write one device's schedules to FILE");
    exportPlan->add_option("FILE", request.file, "plan file to write")->required();
    CLI::App* importPlan = plan->add_subcommand(
        "import", "check FILE against each device, store what differs, read it back");
    importPlan->add_option("FILE", request.file, "plan file to read")->required();
    importPlan->add_flag("--dry-run", request.dryRun,
                         "check against the devices and show what would be written; send nothing");
    CLI::App* diffPlan =
        plan->add_subcommand("diff", "compare each device with FILE, field by field; send nothing");
    diffPlan->add_option("FILE", request.file, "plan file to compare with")->required();
    CLI::App* clock = app.add_subcommand("clock", "the device clock");
    clock->require_subcommand(1);
    CLI::App* clockShow = clock->add_subcommand("show", "the device clock beside the PC's");
    CLI::App* clockCheck = clock->add_subcommand(
        "check", "each device's drift from the PC clock; exit status 3 when one is beyond");
    clockCheck->add_option("--max-drift", request.maxDrift, "seconds allowed either way (2)")
        ->check(CLI::Range(0, 86400));
    CLI::App* clockSync = clock->add_subcommand("sync", "set the device clock to the PC's");
    clockSync
        ->add_option("--if-drift-over", request.ifDriftOver,
                     "set only a clock more than SECONDS off")
        ->check(CLI::Range(0, 86400));
    CLI::App* sdi = app.add_subcommand("sdi", "SDI-12 settings");
    sdi->require_subcommand(1);
    CLI::App* sdiSet = sdi->add_subcommand("set", "set SDI-12 settings, read them back");
    std::string address, valve, hold, pump;
    AddSdiOptions(*sdiSet, request, address, valve, hold, pump);
    CLI::App* ports =
        app.add_subcommand("ports", "each candidate port, and whether a device answers there");
    CLI::App* log = app.add_subcommand(
        "log", "the journal of changes made by zrnctl and ZRNcom (--port: those of a port)");
    std::string since;
    log->add_option("--since", since,
                    "changes from TIME on (UTC: 2027-06-01 or 2027-06-01T09:00:00)")
        ->check(CLI::Validator(
            [](std::string& text) {
                return SinceTime(text) ? std::string() : "\"" + text + "\" is not a UTC time";
            },
            "TIME"));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return {std::nullopt, status == 0 ? EXIT_DONE : EXIT_BAD_USAGE};
    }
    const std::pair<CLI::App*, Action> actions[] = {{info, Action::Info},
                                                    {exportPlan, Action::PlanExport},
                                                    {importPlan, Action::PlanImport},
                                                    {diffPlan, Action::PlanDiff},
                                                    {clockShow, Action::ClockShow},
                                                    {clockCheck, Action::ClockCheck},
                                                    {clockSync, Action::ClockSync},
                                                    {sdiSet, Action::SdiSet},
                                                    {ports, Action::Ports},
                                                    {log, Action::Log}};
    for (const auto& [command, action] : actions)
        if (command->parsed())
            request.action = action;
    if (!address.empty())
        request.sdi.address = address[0];
    request.sdi.valve = Seconds(valve);
    request.sdi.hold = Seconds(hold);
    request.sdi.pump = Seconds(pump);
    if (!since.empty())
        request.since = SinceTime(since).value_or("");
    return {request, EXIT_DONE};
}

} // namespace zrnctl
