#include "model/Plan.h"
#include "model/PlanJson.h"
#include "model/PlanText.h"

#include <utility>

namespace zrn {

namespace {

// The plan file's names of the status bytes, for writing and reading alike.
constexpr std::pair<char, std::string_view> kStatusNames[] = {
    {STATUS_ACTIVE, "active"}, {STATUS_INACTIVE, "inactive"}, {STATUS_EMPTY, "empty"}};

} // namespace

std::string StatusText(char chStatus) {
    for (const auto& [status, name] : kStatusNames)
        if (status == chStatus)
            return std::string(name);
    return std::string(1, chStatus);
}

std::optional<char> StatusNamed(std::string_view name) {
    for (const auto& [status, statusName] : kStatusNames)
        if (statusName == name)
            return status;
    return std::nullopt;
}

Json ScheduleJson(const ScheduleEntry& e) {
    Json object;
    object["schedule"] = e.nNumber;
    object["status"] = StatusText(static_cast<char>(e.chStatus));
    if (e.chStatus == STATUS_EMPTY)
        return object;
    object["start"] = DateTimeText(EntryStartFields(e));
    object["stop"] = DateTimeText(EntryStopFields(e));
    object["interval"] = HoursText({e.nIntervalHours, e.nIntervalMinutes, e.nIntervalSeconds});
    object["valve"] = MinutesText({0, e.nValveMinutes, e.nValveSeconds});
    object["hold"] = MinutesText({0, e.nHoldMinutes, e.nHoldSeconds});
    object["pump"] = MinutesText({0, e.nPumpMinutes, e.nPumpSeconds});
    return object;
}

std::string ScheduleLine(const ScheduleEntry& e) {
    const Json s = ScheduleJson(e);
    std::string line =
        "schedule " + std::to_string(e.nNumber) + ": " + s["status"].get<std::string>();
    if (!s.contains("start"))
        return line;
    const auto text = [&s](const char* key) { return s[key].get<std::string>(); };
    return line + " " + text("start") + " to " + text("stop") + ", every " + text("interval") +
           ", valve " + text("valve") + ", hold " + text("hold") + ", pump " + text("pump");
}

std::string OneLine(const Json& object) {
    std::string line = "{";
    for (const auto& [key, value] : object.items()) {
        if (line.size() > 1)
            line += ", ";
        line += JsonText(Json(key)) + ": " + JsonText(value);
    }
    return line + "}";
}

std::string JsonText(const Json& value, int indent) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::string WritePlan(const ScheduleTable& table, const SdiChange& sdi) {
    std::string text = "{\n  \"zrn_plan\": " + std::to_string(PLAN_FORMAT) + ",\n";
    text += "  \"schedules\": [\n";
    for (std::size_t i = 0; i < table.size(); ++i) {
        text += "    " + OneLine(ScheduleJson(table[i]));
        text += i + 1 < table.size() ? ",\n" : "\n";
    }
    if (sdi.Empty())
        return text + "  ]\n}\n";
    Json settings = Json::object();
    if (sdi.address)
        settings["address"] = std::string(1, *sdi.address);
    if (sdi.delay)
        settings["delay"] = *sdi.delay;
    const auto duration = [&settings](const char* key, const std::optional<int>& seconds) {
        if (seconds)
            settings[key] = MinutesText({0, *seconds / 60, *seconds % 60});
    };
    duration("valve", sdi.valve);
    duration("hold", sdi.hold);
    duration("pump", sdi.pump);
    return text + "  ],\n  \"sdi\": " + OneLine(settings) + "\n}\n";
}

} // namespace zrn
