// Reading a plan file: JSON first, then each key and value, refusing the
// first thing that is wrong with the key's name.
#include "model/Plan.h"
#include "model/PlanJson.h"
#include "model/PlanRules.h"
#include "model/PlanText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>
#include <vector>

namespace zrn {
namespace {

using nlohmann::json;

// Thrown inside this file only, caught by ReadPlan.
struct Refused {
    Refusal refusal;
};

[[noreturn]] void Refuse(std::string key, std::string reason) {
    throw Refused{{std::move(key), std::move(reason)}};
}

// "line 3, column 7" of the byte nlohmann reports (counted from 1).
std::string Position(std::string_view text, std::size_t byte) {
    const std::size_t end = std::min(byte == 0 ? 0 : byte - 1, text.size());
    const std::size_t line = 1 + std::count(text.begin(), text.begin() + end, '\n');
    const std::size_t lineStart = text.rfind('\n', end == 0 ? 0 : end - 1);
    const std::size_t column =
        lineStart == std::string_view::npos || end == 0 ? end + 1 : end - lineStart;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The JSON value, refusing a key that appears twice in one object (the
// library would keep the last one without a word).
json ParseJson(std::string_view text) {
    std::vector<std::set<std::string>> keys;
    std::string duplicate;
    const json::parser_callback_t watch = [&](int, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::object_start)
            keys.emplace_back();
        else if (event == json::parse_event_t::object_end)
            keys.pop_back();
        else if (event == json::parse_event_t::key && !keys.empty() &&
                 !keys.back().insert(parsed.get<std::string>()).second && duplicate.empty())
            duplicate = parsed.get<std::string>();
        return true;
    };
    json value;
    try {
        value = json::parse(text, watch);
    } catch (const json::parse_error& e) {
        // The library's own words after its position.
        std::string detail = e.what();
        if (const auto colon = detail.find(": ", detail.find("column")); colon != std::string::npos)
            detail = detail.substr(colon + 2);
        Refuse({}, "not JSON at " + Position(text, e.byte) + ": " + detail);
    } catch (const json::exception& e) {
        // A number beyond what a double holds ("1E400"): the library tells no
        // position, and its message quotes the whole number, so it is cut short.
        std::string detail = e.what();
        if (const auto end = detail.find("] "); end != std::string::npos)
            detail = detail.substr(end + 2);
        if (detail.size() > 60)
            detail = detail.substr(0, 60) + "...";
        Refuse({}, "not JSON: " + detail);
    }
    if (!duplicate.empty())
        Refuse(duplicate, "appears twice in one object");
    return value;
}

void OnlyKeys(const json& object, const std::string& where,
              std::initializer_list<std::string_view> known) {
    for (const auto& item : object.items())
        if (std::find(known.begin(), known.end(), item.key()) == known.end())
            Refuse(where + item.key(), "unknown key");
}

const json& Required(const json& object, const std::string& where, const char* key) {
    const auto it = object.find(key);
    if (it == object.end())
        Refuse(where + key, "missing");
    return *it;
}

int WholeNumber(const json& value, const std::string& key) {
    if (!value.is_number_integer())
        Refuse(key, "must be a whole number, not " + value.dump());
    const auto number = value.get<std::int64_t>();
    if (number < INT32_MIN || number > INT32_MAX)
        Refuse(key, value.dump() + " is out of range");
    return static_cast<int>(number);
}

std::string Text(const json& value, const std::string& key) {
    if (!value.is_string())
        Refuse(key, "must be text, not " + value.dump());
    return value.get<std::string>();
}

template <typename Parsed, typename Parse>
Parsed Form(const json& value, const std::string& key, Parse parse, const char* form) {
    const std::string text = Text(value, key);
    const std::optional<Parsed> parsed = parse(text);
    if (!parsed)
        Refuse(key, "\"" + text + "\" is not of the form " + form);
    return *parsed;
}

void Check(const Fault& fault, const std::string& key) {
    if (fault)
        Refuse(key, *fault);
}

LocalDateTime DateTimeValue(const json& object, const std::string& where, const char* key) {
    const auto t = Form<LocalDateTime>(Required(object, where, key), where + key, ParseDateTime,
                                       "YYYY-MM-DDThh:mm:ss");
    Check(DateTimeFault(t), where + key);
    return t;
}

Span IntervalValue(const json& object, const std::string& where) {
    const auto span =
        Form<Span>(Required(object, where, "interval"), where + "interval", ParseHours, "hh:mm:ss");
    Check(SpanFault(span), where + "interval");
    return span;
}

Span DurationValue(const json& object, const std::string& where, const char* key) {
    const auto span = Form<Span>(Required(object, where, key), where + key, ParseMinutes, "mm:ss");
    Check(SpanFault(span), where + key);
    return span;
}

char StatusValue(const json& object, const std::string& where) {
    const std::string status = Text(Required(object, where, "status"), where + "status");
    if (const auto named = StatusNamed(status))
        return *named;
    Refuse(where + "status", "\"" + status + "\" is none of active, inactive, empty");
}

void StoreTimes(ScheduleEntry& e, const LocalDateTime& start, const LocalDateTime& stop) {
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
    e.nStartYear = byte(start.year - 2000), e.nStartMonth = byte(start.month);
    e.nStartDay = byte(start.day), e.nStartHour = byte(start.hour);
    e.nStartMinute = byte(start.minute), e.nStartSecond = byte(start.second);
    e.nStopYear = byte(stop.year - 2000), e.nStopMonth = byte(stop.month);
    e.nStopDay = byte(stop.day), e.nStopHour = byte(stop.hour);
    e.nStopMinute = byte(stop.minute), e.nStopSecond = byte(stop.second);
}

void StoreSpans(ScheduleEntry& e, const Span& interval, const Span& valve, const Span& hold,
                const Span& pump) {
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
    e.nIntervalHours = byte(interval.hours), e.nIntervalMinutes = byte(interval.minutes);
    e.nIntervalSeconds = byte(interval.seconds);
    e.nValveMinutes = byte(valve.minutes), e.nValveSeconds = byte(valve.seconds);
    e.nHoldMinutes = byte(hold.minutes), e.nHoldSeconds = byte(hold.seconds);
    e.nPumpMinutes = byte(pump.minutes), e.nPumpSeconds = byte(pump.seconds);
}

PlannedSchedule ScheduleValue(const json& object, int nIndex) {
    const std::string where = "schedules[" + std::to_string(nIndex) + "].";
    if (!object.is_object())
        Refuse(where.substr(0, where.size() - 1), "must be an object");
    OnlyKeys(object, where,
             {"schedule", "status", "start", "stop", "interval", "valve", "hold", "pump"});
    PlannedSchedule planned{nIndex, {}};
    ScheduleEntry& e = planned.entry;
    const int number = WholeNumber(Required(object, where, "schedule"), where + "schedule");
    if (number < 1 || number > SCHEDULE_ENTRY_COUNT)
        Refuse(where + "schedule", std::to_string(number) + " is outside 1-4");
    e.nNumber = static_cast<std::uint8_t>(number);
    e.chStatus = static_cast<std::uint8_t>(StatusValue(object, where));
    if (e.chStatus == STATUS_EMPTY) {
        // An empty slot keeps no times: a value here would be dropped unseen.
        for (const char* key : {"start", "stop", "interval", "valve", "hold", "pump"})
            if (object.contains(key))
                Refuse(where + key, "an empty schedule takes no " + std::string(key));
        return planned;
    }
    const LocalDateTime start = DateTimeValue(object, where, "start");
    const LocalDateTime stop = DateTimeValue(object, where, "stop");
    if (WallClockSeconds(stop) <= WallClockSeconds(start))
        Refuse(where + "stop",
               DateTimeText(stop) + " is not after the start " + DateTimeText(start));
    StoreTimes(e, start, stop);
    StoreSpans(e, IntervalValue(object, where), DurationValue(object, where, "valve"),
               DurationValue(object, where, "hold"), DurationValue(object, where, "pump"));
    return planned;
}

std::vector<PlannedSchedule> SchedulesValue(const json& list) {
    if (!list.is_array())
        Refuse("schedules", "must be a list");
    std::vector<PlannedSchedule> schedules;
    for (std::size_t i = 0; i < list.size(); ++i) {
        PlannedSchedule planned = ScheduleValue(list[i], static_cast<int>(i));
        for (const PlannedSchedule& earlier : schedules)
            if (earlier.entry.nNumber == planned.entry.nNumber)
                Refuse(ScheduleKey(planned, "schedule"),
                       "schedule " + std::to_string(planned.entry.nNumber) + " is listed twice");
        schedules.push_back(planned);
    }
    return schedules;
}

SdiChange SdiValue(const json& object) {
    if (!object.is_object())
        Refuse("sdi", "must be an object");
    OnlyKeys(object, "sdi.", {"address", "delay", "valve", "hold", "pump"});
    SdiChange sdi;
    if (const auto it = object.find("address"); it != object.end()) {
        const std::string text = Text(*it, "sdi.address");
        if (text.size() != 1)
            Refuse("sdi.address", "\"" + text + "\" is not one character");
        Check(AddressFault(text[0]), "sdi.address");
        sdi.address = text[0];
    }
    if (const auto it = object.find("delay"); it != object.end()) {
        sdi.delay = WholeNumber(*it, "sdi.delay");
        Check(DelayFault(*sdi.delay), "sdi.delay");
    }
    const auto duration = [&](const char* key, std::optional<int>& seconds) {
        const auto it = object.find(key);
        if (it == object.end())
            return;
        const std::string name = std::string("sdi.") + key;
        const auto span = Form<Span>(*it, name, ParseMinutes, "mm:ss");
        Check(SdiDurationFault(span), name);
        seconds = span.minutes * 60 + span.seconds;
    };
    duration("valve", sdi.valve);
    duration("hold", sdi.hold);
    duration("pump", sdi.pump);
    return sdi;
}

Plan PlanValue(const json& top) {
    if (!top.is_object())
        Refuse({}, "a plan is a JSON object");
    OnlyKeys(top, {}, {"zrn_plan", "schedules", "sdi"});
    if (WholeNumber(Required(top, {}, "zrn_plan"), "zrn_plan") != PLAN_FORMAT)
        Refuse("zrn_plan",
               "format " + top["zrn_plan"].dump() + " is not " + std::to_string(PLAN_FORMAT));
    Plan plan;
    if (const auto it = top.find("schedules"); it != top.end())
        plan.schedules = SchedulesValue(*it);
    if (const auto it = top.find("sdi"); it != top.end())
        plan.sdi = SdiValue(*it);
    return plan;
}

} // namespace

std::string ScheduleKey(const PlannedSchedule& planned, std::string_view field) {
    std::string key = "schedules[" + std::to_string(planned.nIndex) + "]";
    return field.empty() ? key : key + "." + std::string(field);
}

std::variant<Plan, Refusal> ReadPlan(std::string_view text) {
    try {
        return PlanValue(ParseJson(text));
    } catch (const Refused& refused) {
        return refused.refusal;
    }
}

} // namespace zrn
