#pragma once
// Putting a plan on a device, for the dialog and zrnctl alike: which listed
// schedules are written, in which steps and with what read-back, whether the
// file's SDI settings are set; and the dialog's questions and report around it.

#include "model/DeviceSchedules.h"
#include "model/Plan.h"
#include "model/PlanJson.h"
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

// What an import does with what the device already holds. zrnctl writes only
// the listed schedules that differ and sets the file's SDI settings. The
// dialog replaces every listed schedule, as its question says, and leaves the
// SDI settings alone: its settings panel owns those boxes and their replies,
// and an import has no read-back of them to report.
struct ImportPolicy {
    bool bRewriteUnchanged = false;
    bool bSetsSdi = true;
};
inline constexpr ImportPolicy ZRNCTL_IMPORT{false, true};
inline constexpr ImportPolicy DIALOG_IMPORT{true, false};

// A field of a schedule that the device holds otherwise than the plan, in the
// plan file's names and values.
struct FieldDifference {
    std::string field; // "start", "status"...
    Json device;
    Json plan;
};
// Nothing when the device holds the planned entry. An empty entry has no
// values, so against one only the status counts.
std::vector<FieldDifference> ScheduleFieldDifferences(const ScheduleEntry& held,
                                                      const ScheduleEntry& planned);

// The steps of an import, in the plan's order: every written schedule is first
// stored inactive or cleared and must read back as such; only then are the
// active ones switched on, so no two active schedules overlap at any moment.
struct ImportSteps {
    std::vector<int> written; // the numbers of the listed schedules that are written
    std::vector<Expectation> stores;
    std::vector<Expectation> activations;
    bool Writes(int number) const;
};
ImportSteps PlanImportSteps(const Plan& plan, const ScheduleTable& held,
                            const ImportPolicy& policy);

// The question before an import: how many schedules will be replaced, which,
// and what the dialog leaves alone.
std::string ReplaceQuestion(const Plan& plan, std::string_view fileName,
                            const ImportPolicy& policy);

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
