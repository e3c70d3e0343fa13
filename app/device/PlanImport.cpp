#include "device/PlanImport.h"

#include "model/PlanJson.h"

namespace zrn {
namespace {

std::string Numbers(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " and " : ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

bool Listed(const Plan& plan, int number) {
    for (const PlannedSchedule& planned : plan.schedules)
        if (planned.entry.nNumber == number)
            return true;
    return false;
}

std::vector<int> ListedNumbers(const Plan& plan) {
    std::vector<int> numbers;
    for (int n = 1; n <= SCHEDULE_ENTRY_COUNT; ++n)
        if (Listed(plan, n))
            numbers.push_back(n);
    return numbers;
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

} // namespace

std::optional<std::string> ExportRefusal(const ReadStates& states) {
    for (int i = 0; i < SCHEDULE_ENTRY_COUNT; ++i)
        if (states[static_cast<std::size_t>(i)] != ReadState::Read)
            return "Schedule " + std::to_string(i + 1) +
                   " is not read from the device, so the file would not show what the "
                   "device holds.\nRefresh the schedules, then export again.";
    return std::nullopt;
}

std::optional<std::string> UnlistedNotRead(const Plan& plan, const ReadStates& states) {
    for (int n = 1; n <= SCHEDULE_ENTRY_COUNT; ++n)
        if (!Listed(plan, n) && states[static_cast<std::size_t>(n - 1)] != ReadState::Read)
            return "Schedule " + std::to_string(n) +
                   " is not read from the device, and the plan must not overlap it.\n"
                   "Refresh the schedules, then import again.";
    return std::nullopt;
}

std::vector<FieldDifference> ScheduleFieldDifferences(const ScheduleEntry& held,
                                                      const ScheduleEntry& planned) {
    const Json have = ScheduleJson(held), want = ScheduleJson(planned);
    std::vector<FieldDifference> differences;
    const bool values = have.contains("start") && want.contains("start");
    for (const auto& [key, value] : want.items()) {
        if (key == "schedule" || (!values && key != "status"))
            continue;
        if (have.at(key) != value)
            differences.push_back({key, have.at(key), value});
    }
    return differences;
}

bool ImportSteps::Writes(int number) const {
    return std::find(written.begin(), written.end(), number) != written.end();
}

ImportSteps PlanImportSteps(const Plan& plan, const ScheduleTable& held,
                            const ImportPolicy& policy) {
    ImportSteps steps;
    for (const PlannedSchedule& planned : plan.schedules) {
        const int n = planned.entry.nNumber;
        if (!policy.bRewriteUnchanged &&
            ScheduleFieldDifferences(held[static_cast<std::size_t>(n - 1)], planned.entry).empty())
            continue;
        steps.written.push_back(n);
        steps.stores.push_back(FirstStore(planned.entry));
        if (planned.entry.chStatus == STATUS_ACTIVE)
            steps.activations.push_back(Activation(planned.entry));
    }
    return steps;
}

std::string ReplaceQuestion(const Plan& plan, std::string_view fileName,
                            const ImportPolicy& policy) {
    const std::vector<int> numbers = ListedNumbers(plan);
    std::string text = "Replace " + std::to_string(numbers.size()) +
                       (numbers.size() == 1 ? " schedule" : " schedules") + " on the device (" +
                       Numbers(numbers) + ") with those of " + std::string(fileName) + "?";
    if (numbers.size() < static_cast<std::size_t>(SCHEDULE_ENTRY_COUNT))
        text += "\nThe others stay as the device holds them.";
    if (!plan.sdi.Empty() && !policy.bSetsSdi)
        text += "\nThe file's SDI-12 settings are not set here (zrnctl plan import sets them).";
    return text;
}

Expectation FirstStore(const ScheduleEntry& planned) {
    ScheduleEntry stored = planned;
    if (stored.chStatus == STATUS_EMPTY)
        return {Change::Delete, stored};
    stored.chStatus = STATUS_INACTIVE;
    return {Change::Upload, stored};
}

Expectation Activation(const ScheduleEntry& planned) {
    return {Change::Activate, planned};
}

bool Shows(const Expectation& expect, ReadState state, const ScheduleEntry& device) {
    return state == ReadState::Read && !UntakenChange(expect, device);
}

ImportResult ImportReport(const Plan& plan, std::string_view fileName, bool bActivated,
                          const ScheduleTable& device, const ReadStates& states) {
    ImportResult result{true, {}};
    std::string lines;
    for (const int n : ListedNumbers(plan)) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ScheduleEntry* planned = nullptr;
        for (const PlannedSchedule& p : plan.schedules)
            if (p.entry.nNumber == n)
                planned = &p.entry;
        if (states[i] != ReadState::Read) {
            result.bHoldsPlan = false;
            lines += "\nSchedule " + std::to_string(n) + ": could not be read back";
            continue;
        }
        const bool asPlanned = planned->chStatus == STATUS_EMPTY
                                   ? device[i].chStatus == STATUS_EMPTY
                                   : device[i] == *planned;
        result.bHoldsPlan = result.bHoldsPlan && asPlanned;
        lines += "\n" + Capitalised(ScheduleLine(device[i]));
        if (!asPlanned)
            lines += " (not as planned)";
    }
    std::string headline =
        result.bHoldsPlan
            ? "The device holds the schedules of " + std::string(fileName) + ":"
            : "The device does not hold the schedules of " + std::string(fileName) + ".";
    if (!result.bHoldsPlan && !bActivated)
        headline += " No schedule was activated.";
    if (!result.bHoldsPlan)
        headline += " It now holds:";
    result.text = headline + lines;
    return result;
}

} // namespace zrn
