// Putting a plan on a device, by the import policy zrnctl shares with the
// dialog (device/PlanImport.h). The device is read first: the plan must fit
// the schedules it leaves alone, and a schedule counts as stored only once the
// device has shown it.
#include "Actions.h"
#include "Describe.h"
#include "Model.h"
#include "PlanDiff.h"

#include <algorithm>
#include <map>

namespace zrnctl {
namespace {

class Import {
public:
    Import(Device& device, const Plan& plan) : device_(device), plan_(plan) {
        std::sort(plan_.schedules.begin(), plan_.schedules.end(),
                  [](const auto& a, const auto& b) { return a.entry.nNumber < b.entry.nNumber; });
    }

    DeviceResult Run(bool dryRun) {
        const std::vector<Difference> differences = ReadDifferences();
        const zrn::LocalDateTime clock = device_.ReadClock();
        // Only the schedules to be written are checked as the plan's; the
        // others count as what the device holds, so an unchanged schedule
        // (one whose stop has passed, say) does not stop a plan that leaves it.
        Plan changing{{}, plan_.sdi};
        zrn::ScheduleTable others = held_;
        for (const PlannedSchedule& planned : plan_.schedules) {
            if (!steps_.Writes(planned.entry.nNumber))
                continue;
            changing.schedules.push_back(planned);
            others[planned.entry.nNumber - 1u].chStatus = zrn::STATUS_EMPTY;
        }
        if (const std::optional<Refusal> refusal = CheckPlanFits(changing, others, clock))
            return {{},
                    Outcome::Refused,
                    refusal->Text() + "; nothing sent",
                    {},
                    Json{{"changed", false}}};
        if (dryRun)
            return DryRun(differences);
        std::vector<std::string> sdiLines;
        try {
            if (zrn::ZRNCTL_IMPORT.bSetsSdi)
                sdiLines = ApplySdi(device_, SdiToChange(sdi_, plan_.sdi), sdi_);
            // The stores follow the plan's order, as the report does.
            auto store = steps_.stores.begin();
            for (const PlannedSchedule& planned : plan_.schedules)
                if (steps_.Writes(planned.entry.nNumber))
                    StoreInactive(*store++);
                else
                    state_[planned.entry.nNumber] = "unchanged";
            for (const zrn::Expectation& activation : steps_.activations)
                Activate(activation.entry);
        } catch (const DeviceFailure& failure) {
            return Report(Outcome::Failed, Failing() + failure.what(), sdiLines);
        }
        return Report(Outcome::Done,
                      differences.empty() ? "holds the plan already; nothing sent"
                                          : "holds the plan, read back",
                      sdiLines);
    }

    // The device beside the plan; sends nothing.
    DeviceResult Diff() {
        const std::vector<Difference> differences = ReadDifferences();
        DeviceResult result{
            {},
            Outcome::Done,
            "holds the plan",
            DifferenceLines(differences),
            Json{{"result", "same"}, {"differences", DifferencesJson(differences)}}};
        if (!differences.empty()) {
            result.outcome = Outcome::Differs;
            result.message = "differs from the plan in " + std::to_string(differences.size()) +
                             (differences.size() == 1 ? " field" : " fields");
            result.details.erase("result");
        }
        return result;
    }

private:
    // Reads every schedule and, when the plan sets any, the SDI row; what
    // differs from the plan.
    std::vector<Difference> ReadDifferences() {
        for (int n = 1; n <= zrn::SCHEDULE_ENTRY_COUNT; ++n) {
            device_.Progress("reading schedule " + std::to_string(n));
            held_[n - 1u] = device_.ReadSchedule(n);
        }
        std::vector<Difference> differences;
        if (!plan_.sdi.Empty()) {
            sdi_ = device_.ReadSdi();
            differences = SdiDifferences(sdi_, plan_.sdi);
        }
        device_.Remember(held_, plan_.sdi.Empty() ? std::nullopt : std::optional(sdi_));
        for (const PlannedSchedule& planned : plan_.schedules) {
            const std::vector<Difference> more =
                ScheduleDifferences(held_[planned.entry.nNumber - 1u], planned.entry);
            differences.insert(differences.end(), more.begin(), more.end());
        }
        steps_ = zrn::PlanImportSteps(plan_, held_, zrn::ZRNCTL_IMPORT);
        return differences;
    }

    DeviceResult DryRun(const std::vector<Difference>& differences) const {
        DeviceResult result{
            {},
            Outcome::Done,
            "the plan fits; nothing sent (dry run)",
            DifferenceLines(differences),
            Json{{"changed", !differences.empty()}, {"differences", DifferencesJson(differences)}}};
        if (differences.empty())
            result.message = "the plan fits and the device holds it; nothing sent (dry run)";
        return result;
    }

    void StoreInactive(const zrn::Expectation& store) {
        const zrn::ScheduleEntry& inactive = store.entry;
        const int n = inactive.nNumber;
        current_ = n;
        device_.Progress("storing schedule " + std::to_string(n));
        device_.Journaled(What(n), ScheduleJson(held_[n - 1u]), ScheduleJson(inactive), [&] {
            if (store.change == zrn::Change::Delete) {
                device_.Command(zrn::ScheduleDeleteCommand(n));
            } else {
                for (const std::string& command : zrn::ScheduleUploadSequence(inactive))
                    device_.Command(command);
            }
            ReadBack(inactive);
        });
        held_[n - 1u] = inactive;
        state_[n] = Activates(n) ? "inactive with the planned values, activation not confirmed"
                                 : "stored, read back";
    }

    bool Activates(int n) const {
        return std::any_of(steps_.activations.begin(), steps_.activations.end(),
                           [n](const zrn::Expectation& a) { return a.entry.nNumber == n; });
    }

    void Activate(const zrn::ScheduleEntry& planned) {
        const int n = planned.nNumber;
        current_ = n;
        device_.Progress("activating schedule " + std::to_string(n));
        device_.Journaled(What(n), ScheduleJson(held_[n - 1u]), ScheduleJson(planned), [&] {
            const zrn::ScheduleReply reply = zrn::ParseScheduleReply(
                device_.Change(zrn::StatusChangeSequence(n, zrn::STATUS_ACTIVE)));
            if (reply.kind != zrn::ScheduleReplyKind::Status ||
                reply.chStatus != zrn::STATUS_ACTIVE)
                throw DeviceFailure("status reads back \"" + StatusText(reply.chStatus) +
                                    "\" instead of \"active\"");
        });
        state_[n] = "stored, read back";
    }

    static std::string What(int n) { return "schedule " + std::to_string(n); }

    // The device's copy, compared value by value with what was sent.
    void ReadBack(const zrn::ScheduleEntry& wanted) {
        const int n = wanted.nNumber;
        zrn::ScheduleEntry held{};
        if (wanted.chStatus == zrn::STATUS_EMPTY) {
            held.nNumber = wanted.nNumber;
            held.chStatus = static_cast<std::uint8_t>(
                zrn::ParseScheduleReply(device_.Query(zrn::ScheduleStatusQuery(n))).chStatus);
        } else {
            held = device_.ReadSchedule(n);
        }
        const Json want = ScheduleJson(wanted), have = ScheduleJson(held);
        for (const auto& [key, value] : want.items()) {
            const Json got = have.contains(key) ? have.at(key) : Json("nothing");
            if (got != value)
                throw DeviceFailure(key + " reads back " + JsonText(got) + " instead of " +
                                    JsonText(value));
        }
    }

    std::string Failing() const {
        return current_ ? "schedule " + std::to_string(current_) + ": " : std::string();
    }

    DeviceResult Report(Outcome outcome, std::string message, std::vector<std::string> lines) {
        DeviceResult result{{}, outcome, std::move(message), std::move(lines), {}};
        Json schedules = Json::array();
        for (const PlannedSchedule& planned : plan_.schedules) {
            const int n = planned.entry.nNumber;
            std::string state = state_.count(n) ? state_[n] : "not sent";
            if (outcome == Outcome::Failed && n == current_ && state_.count(n) == 0)
                state = "FAILED, what it holds is unknown";
            result.lines.push_back("schedule " + std::to_string(n) + ": " + state);
            schedules.push_back(Json{{"schedule", n}, {"result", state}});
        }
        // Any set command counts: one that failed part way may have changed the device.
        result.details = Json{{"changed", device_.SetCommandsSent() > 0}, {"schedules", schedules}};
        return result;
    }

    Device& device_;
    Plan plan_;                        // its schedules by number
    zrn::ImportSteps steps_;           // what the policy writes, once the device is read
    std::map<int, std::string> state_; // what each read-back showed
    int current_ = 0;                  // the schedule being stored or activated
    zrn::ScheduleTable held_{};        // the device's schedules before the import
    SdiSettings sdi_;                  // its SDI row, when the plan sets any
};

} // namespace

DeviceResult ImportPlan(Device& device, const Plan& plan, bool dryRun) {
    return Import(device, plan).Run(dryRun);
}

DeviceResult DiffPlan(Device& device, const Plan& plan) {
    return Import(device, plan).Diff();
}

} // namespace zrnctl
