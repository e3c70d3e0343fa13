// Reading a device: everything it tells, its schedules as a plan file, its clock.
#include "Actions.h"
#include "Describe.h"
#include "Model.h"

#include <cstdio>

namespace zrnctl {
namespace {

zrn::ScheduleTable ReadTable(Device& device) {
    zrn::ScheduleTable table{};
    for (int n = 1; n <= zrn::SCHEDULE_ENTRY_COUNT; ++n) {
        device.Progress("reading schedule " + std::to_string(n));
        table[n - 1u] = device.ReadSchedule(n);
    }
    return table;
}

std::string VersionText(const std::string& reply) {
    const std::optional<std::string> version = FirmwareText(reply);
    if (!version)
        throw DeviceFailure("unreadable version reply " + reply);
    return *version;
}

Json IdentJson(const zrn::SdiIdent& ident) {
    return Json{{"sdi_version", ident.strVersion},
                {"manufacturer", ident.strMfgName},
                {"model", ident.strMfgModel},
                {"manufacturer_version", ident.strMfgVersion},
                {"optional", ident.strMfgOptional}};
}

std::string IdentLine(const zrn::SdiIdent& ident) {
    const auto field = [](const std::string& text) {
        const std::string_view trimmed = zrn::TrimBlanks(text);
        return trimmed.empty() ? std::string("-") : std::string(trimmed);
    };
    return "SDI identification: version " + field(ident.strVersion) + ", manufacturer " +
           field(ident.strMfgName) + ", model " + field(ident.strMfgModel) + ", version " +
           field(ident.strMfgVersion) + ", optional " + field(ident.strMfgOptional);
}

} // namespace

DeviceResult ReadInfo(Device& device) {
    device.Progress("reading status");
    const std::string version = VersionText(device.Query(zrn::VersionQuery()));
    const zrn::Voltages volts = zrn::ParseVoltageReply(device.Query(zrn::VoltageQuery()), {});
    const zrn::SdiIdent ident = zrn::ParseIdentReply(device.Query(zrn::IdentQuery()));
    const SdiSettings sdi = device.ReadSdi();
    const zrn::LocalDateTime clock = device.ReadClock();
    const zrn::LocalDateTime pc = PcClock();
    const zrn::ScheduleTable table = ReadTable(device);

    DeviceResult result;
    const std::string external = zrn::VoltsText(volts.fExternalVolts);
    const std::string internal = zrn::VoltsText(volts.fInternalVolts);
    result.message = "firmware " + version + ", battery " + external + " V external, " + internal +
                     " V internal";
    result.lines = {ClockLine(clock, pc), SdiLine(sdi), IdentLine(ident)};
    Json schedules = Json::array();
    for (const zrn::ScheduleEntry& entry : table) {
        result.lines.push_back(ScheduleLine(entry));
        schedules.push_back(ScheduleJson(entry));
    }
    result.details = Json{{"firmware", version},
                          {"battery", {{"external", external}, {"internal", internal}}},
                          {"clock", ClockJson(clock, pc)},
                          {"sdi", SdiJson(sdi)},
                          {"identification", IdentJson(ident)},
                          {"schedules", schedules}};
    return result;
}

DeviceResult ExportPlan(Device& device, const std::string& file) {
    const zrn::ScheduleTable table = ReadTable(device);
    const auto text = zrn::ExportText(table);
    if (const Refusal* refusal = std::get_if<Refusal>(&text))
        throw DeviceFailure("the device holds what a plan cannot carry (" + refusal->Text() +
                            "); " + file + " not written");
    if (const auto why = zrn::WriteWhole(file, std::get<std::string>(text)))
        throw DeviceFailure("cannot write " + file + ": " + *why + "; nothing written");
    DeviceResult result;
    result.message = "schedules written to " + file;
    for (const zrn::ScheduleEntry& entry : table)
        result.lines.push_back(ScheduleLine(entry));
    result.details = Json{{"file", file}};
    return result;
}

DeviceResult ShowClock(Device& device) {
    const zrn::LocalDateTime clock = device.ReadClock();
    const zrn::LocalDateTime pc = PcClock();
    return {{}, Outcome::Done, ClockLine(clock, pc), {}, Json{{"clock", ClockJson(clock, pc)}}};
}

} // namespace zrnctl
