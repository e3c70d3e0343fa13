// Putting a plan on a device. The plan must fit what the device holds, so the
// schedules it leaves alone are read first. Every listed schedule is then
// stored inactive (or emptied) and read back, and only after that are the
// active ones switched on: no two active schedules overlap at any moment, and
// a schedule counts as stored only once the device has shown it.
#include "Actions.h"
#include "Describe.h"
#include "Model.h"

#include <algorithm>
#include <map>

namespace zrnctl {
namespace {

class Import {
public:
    Import(Device& device, const Plan& plan) : device_(device), plan_(plan) {
        for (const PlannedSchedule& planned : plan.schedules)
            order_.push_back(&planned);
        std::sort(order_.begin(), order_.end(),
                  [](auto* a, auto* b) { return a->entry.nNumber < b->entry.nNumber; });
    }

    DeviceResult Run(bool dryRun) {
        const zrn::ScheduleTable held = ReadUnlisted();
        const zrn::LocalDateTime clock = device_.ReadClock();
        if (const std::optional<Refusal> refusal = CheckPlanFits(plan_, held, clock))
            return {{}, Outcome::Refused, refusal->Text() + "; nothing sent", {}, {}};
        if (dryRun)
            return DryRun();
        std::vector<std::string> sdiLines;
        try {
            sdiLines = ApplySdi(device_, plan_.sdi);
            for (const PlannedSchedule* planned : order_)
                StoreInactive(*planned);
            for (const PlannedSchedule* planned : order_)
                if (planned->entry.chStatus == zrn::STATUS_ACTIVE)
                    Activate(*planned);
        } catch (const DeviceFailure& failure) {
            return Report(Outcome::Failed, Failing() + failure.what(), sdiLines);
        }
        return Report(Outcome::Done, "holds the plan, read back", sdiLines);
    }

private:
    bool IsListed(int n) const {
        return std::any_of(order_.begin(), order_.end(),
                           [n](auto* planned) { return planned->entry.nNumber == n; });
    }

    zrn::ScheduleTable ReadUnlisted() {
        zrn::ScheduleTable table{};
        for (int n = 1; n <= zrn::SCHEDULE_ENTRY_COUNT; ++n) {
            table[n - 1u].nNumber = static_cast<std::uint8_t>(n);
            table[n - 1u].chStatus = zrn::STATUS_EMPTY;
            if (!IsListed(n)) {
                device_.Progress("reading schedule " + std::to_string(n));
                table[n - 1u] = device_.ReadSchedule(n);
            }
        }
        return table;
    }

    DeviceResult DryRun() const {
        DeviceResult result{{}, Outcome::Done, "the plan fits; nothing sent (dry run)", {}, {}};
        for (const PlannedSchedule* planned : order_)
            result.lines.push_back("would store " + ScheduleLine(planned->entry));
        return result;
    }

    void StoreInactive(const PlannedSchedule& planned) {
        const int n = planned.entry.nNumber;
        current_ = n;
        device_.Progress("storing schedule " + std::to_string(n));
        zrn::ScheduleEntry inactive = planned.entry;
        if (inactive.chStatus == zrn::STATUS_EMPTY) {
            device_.Command(zrn::ScheduleDeleteCommand(n));
        } else {
            // The dialog's Save: the upload leaves the schedule inactive.
            inactive.chStatus = zrn::STATUS_INACTIVE;
            for (const std::string& command : zrn::ScheduleUploadSequence(inactive))
                device_.Command(command);
        }
        ReadBack(inactive);
        state_[n] = planned.entry.chStatus == zrn::STATUS_ACTIVE
                        ? "inactive with the planned values, activation not confirmed"
                        : "stored, read back";
    }

    void Activate(const PlannedSchedule& planned) {
        const int n = planned.entry.nNumber;
        current_ = n;
        device_.Progress("activating schedule " + std::to_string(n));
        const zrn::ScheduleReply reply = zrn::ParseScheduleReply(
            device_.Change(zrn::StatusChangeSequence(n, zrn::STATUS_ACTIVE)));
        if (reply.kind != zrn::ScheduleReplyKind::Status || reply.chStatus != zrn::STATUS_ACTIVE)
            throw DeviceFailure("status reads back \"" + StatusText(reply.chStatus) +
                                "\" instead of \"active\"");
        state_[n] = "stored, read back";
    }

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
        for (const PlannedSchedule* planned : order_) {
            const int n = planned->entry.nNumber;
            std::string state = state_.count(n) ? state_[n] : "not sent";
            if (outcome == Outcome::Failed && n == current_ && state_.count(n) == 0)
                state = "FAILED, what it holds is unknown";
            result.lines.push_back("schedule " + std::to_string(n) + ": " + state);
            schedules.push_back(Json{{"schedule", n}, {"result", state}});
        }
        result.details = Json{{"schedules", schedules}};
        return result;
    }

    Device& device_;
    const Plan& plan_;
    std::vector<const PlannedSchedule*> order_; // by number
    std::map<int, std::string> state_;          // what each read-back showed
    int current_ = 0;                           // the schedule being stored or activated
};

} // namespace

DeviceResult ImportPlan(Device& device, const Plan& plan, bool dryRun) {
    return Import(device, plan).Run(dryRun);
}

} // namespace zrnctl
