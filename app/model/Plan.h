#pragma once
// The plan file: which schedules (and SDI settings) a device is to hold.
// Format in docs/plan-format.md.

#include "model/ScheduleEntry.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zrn {

inline constexpr int PLAN_FORMAT = 1;

// SDI settings to set; each one only when given.
struct SdiChange {
    std::optional<char> address;
    std::optional<int> delay;
    std::optional<int> valve; // seconds, 0-999
    std::optional<int> hold;
    std::optional<int> pump;
    bool Empty() const { return !address && !delay && !valve && !hold && !pump; }
};

struct PlannedSchedule {
    int nIndex = 0;        // its place in the file's "schedules" list
    ScheduleEntry entry{}; // number, fields and status 'A', 'D' or '0'
};

struct Plan {
    std::vector<PlannedSchedule> schedules; // in the file's order, each number once
    SdiChange sdi;
};

// Why a plan is refused: the key ("schedules[0].start"; empty for the file as
// a whole) and the reason.
struct Refusal {
    std::string key;
    std::string reason;
    std::string Text() const { return key.empty() ? reason : key + ": " + reason; }
};

// The plan in text, each value checked on its own (ranges, stop after start).
// A text that is not JSON is refused with its line and column.
std::variant<Plan, Refusal> ReadPlan(std::string_view text);

// The key of a schedule's value, for refusals: "schedules[2].stop".
std::string ScheduleKey(const PlannedSchedule& planned, std::string_view field = {});

// All four entries (and the SDI settings given) as a plan file, in a fixed
// layout and key order, so the same table always gives the same bytes.
std::string WritePlan(const ScheduleTable& table, const SdiChange& sdi = {});

} // namespace zrn
