#include "PlanDiff.h"

#include "Describe.h"

namespace zrnctl {
namespace {

std::string Shown(const Json& value) {
    return value.is_string() ? value.get<std::string>() : JsonText(value);
}

} // namespace

std::vector<Difference> ScheduleDifferences(const zrn::ScheduleEntry& held,
                                            const zrn::ScheduleEntry& planned) {
    std::vector<Difference> differences;
    for (zrn::FieldDifference& d : zrn::ScheduleFieldDifferences(held, planned))
        differences.push_back(
            {planned.nNumber, std::move(d.field), std::move(d.device), std::move(d.plan)});
    return differences;
}

std::vector<Difference> SdiDifferences(const SdiSettings& held, const SdiChange& planned) {
    std::vector<Difference> differences;
    const auto compare = [&differences](const char* field, const Json& have, const Json& want) {
        if (have != want)
            differences.push_back({std::nullopt, field, have, want});
    };
    if (planned.address)
        compare("sdi.address", held.address, std::string(1, *planned.address));
    if (planned.delay)
        compare("sdi.delay", held.delay, *planned.delay);
    if (planned.valve)
        compare("sdi.valve", SecondsText(held.valve), SecondsText(*planned.valve));
    if (planned.hold)
        compare("sdi.hold", SecondsText(held.hold), SecondsText(*planned.hold));
    if (planned.pump)
        compare("sdi.pump", SecondsText(held.pump), SecondsText(*planned.pump));
    return differences;
}

SdiChange SdiToChange(const SdiSettings& held, const SdiChange& planned) {
    SdiChange change;
    if (planned.address && held.address != std::string(1, *planned.address))
        change.address = planned.address;
    if (planned.delay && held.delay != *planned.delay)
        change.delay = planned.delay;
    if (planned.valve && held.valve != *planned.valve)
        change.valve = planned.valve;
    if (planned.hold && held.hold != *planned.hold)
        change.hold = planned.hold;
    if (planned.pump && held.pump != *planned.pump)
        change.pump = planned.pump;
    return change;
}

Json DifferencesJson(const std::vector<Difference>& differences) {
    Json list = Json::array();
    for (const Difference& d : differences)
        list.push_back(Json{{"schedule", d.schedule ? Json(*d.schedule) : Json()},
                            {"field", d.field},
                            {"device", d.device},
                            {"plan", d.plan}});
    return list;
}

std::vector<std::string> DifferenceLines(const std::vector<Difference>& differences) {
    std::vector<std::string> lines;
    for (const Difference& d : differences) {
        const std::string where =
            d.schedule ? "schedule " + std::to_string(*d.schedule) + " " + d.field : d.field;
        lines.push_back(where + ": device " + Shown(d.device) + ", plan " + Shown(d.plan));
    }
    return lines;
}

} // namespace zrnctl
