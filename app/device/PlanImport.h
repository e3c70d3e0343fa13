#pragma once
// The dialog's plan files as plain functions: when the schedules may be
// exported, what an import asks before it replaces anything, how it stores
// each schedule, and what it reports once the device has shown the result.

#include "model/DeviceSchedules.h"
#include "model/Plan.h"
#include "model/ScheduleEntry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {

// Why the device's schedules cannot be written to a file now: one of them
// is not read. Nothing when all four are.
std::optional<std::string> ExportRefusal(const ReadStates& states);

// Why the plan cannot be checked against the device now: a schedule it
// leaves alone is not read, so an overlap with it would go unseen.
std::optional<std::string> UnlistedNotRead(const Plan& plan, const ReadStates& states);

// The question before an import: how many schedules will be replaced, which,
// and what the dialog leaves alone.
std::string ReplaceQuestion(const Plan& plan, std::string_view fileName);

// The first step of storing a listed schedule, as the dialog's Save and
// Delete do: a schedule is stored inactive, an empty one cleared. Active ones
// are switched on only once every listed schedule reads back as stored, so
// no two active schedules overlap at any moment.
Expectation FirstStore(const ScheduleEntry& planned);
Expectation Activation(const ScheduleEntry& planned);

// Whether the device shows what the change meant (read, and taken).
bool Shows(const Expectation& expect, ReadState state, const ScheduleEntry& device);

// What each listed schedule now holds, for the operator: one line each, after
// a headline that says whether the device holds the plan.
struct ImportResult {
    bool bHoldsPlan = false;
    std::string text;
};
ImportResult ImportReport(const Plan& plan, std::string_view fileName, bool bActivated,
                          const ScheduleTable& device, const ReadStates& states);

} // namespace zrn
