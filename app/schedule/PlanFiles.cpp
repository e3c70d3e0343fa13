// The window menu's plan files. Export writes what the device holds, all four
// schedules read, in the bytes zrnctl writes; import checks the file as zrnctl
// does, asks, then takes the steps of the import policy zrnctl shares: each
// listed schedule stored as Save does, the active ones switched on only once
// every store has read back as meant.
#include "schedule/PlanFiles.h"

#include "device/PlanImport.h"
#include "model/PlanCheck.h"
#include "model/PlanFile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "schedule/SchedulePanel.h"

#include <filesystem>

using namespace win;

namespace {

constexpr const char* kFilter = "Plan files (*.json)";

// Names from the file dialog are UTF-8, whatever the system's code page.
std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string NameOf(const std::string& utf8) {
    const std::u8string name = PathOf(utf8).filename().u8string();
    return std::string(name.begin(), name.end());
}

zrn::ReadStates DeviceStates(const zrn::DeviceSchedules& device) {
    zrn::ReadStates states{};
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i)
        states[static_cast<std::size_t>(i)] = device.State(i);
    return states;
}

zrn::ScheduleTable DeviceTable(const zrn::DeviceSchedules& device) {
    zrn::ScheduleTable table{};
    for (int i = 0; i < zrn::SCHEDULE_ENTRY_COUNT; ++i)
        table[static_cast<std::size_t>(i)] = device.Entry(i);
    return table;
}

} // namespace

PanelHost& CPlanFiles::Host() {
    return schedule.Host();
}

bool CPlanFiles::Refuse(const std::string& text) {
    MessageBox(&Host().Window(), text, {}, MB_OK | MB_ICONERROR);
    return true;
}

bool CPlanFiles::RefuseWithoutDevice() {
    if (Host().DeviceConnected())
        return false;
    return Refuse("No ZRN device is connected.\nConnect one, then try again.");
}

void CPlanFiles::OnExportSchedules() {
    if (RefuseWithoutDevice())
        return;
    if (const auto why = zrn::ExportRefusal(DeviceStates(schedule.onDevice))) {
        Refuse(*why);
        return;
    }
    const std::optional<std::string> file = ChooseFile(
        &Host().Window(), {FileDialogKind::Save, "Export schedules", kFilter, "json", "plan.json"});
    if (!file)
        return;
    // Replies went on while the file dialog was open: what the device holds now.
    if (const auto why = zrn::ExportRefusal(DeviceStates(schedule.onDevice))) {
        Refuse(*why);
        return;
    }
    const auto text = zrn::ExportText(DeviceTable(schedule.onDevice));
    if (const zrn::Refusal* refusal = std::get_if<zrn::Refusal>(&text)) {
        Refuse("The device holds what a plan file cannot carry (" + refusal->Text() +
               ").\nNo file was written.");
        return;
    }
    if (const auto why = zrn::WriteWhole(PathOf(*file), std::get<std::string>(text))) {
        Refuse("Could not write " + *file + ": " + *why + ".\nNo file was written.");
        return;
    }
    std::string line = "Schedules exported to " + *file;
    if (const int edited = schedule.EditedEntry(); edited >= 0)
        line += " (as the device holds them: the edit of schedule " + std::to_string(edited + 1) +
                " is not saved)";
    Host().AppendLog(line);
}

void CPlanFiles::OnImportSchedules() {
    if (RefuseWithoutDevice())
        return;
    if (stage != Stage::Idle) {
        Refuse("An import is still waiting for the device to show what it stored.");
        return;
    }
    if (const int edited = schedule.EditedEntry(); edited >= 0) {
        Refuse("Schedule " + std::to_string(edited + 1) +
               " has changes that are not saved.\nSave or discard them, then import again.");
        return;
    }
    const std::optional<zrn::LocalDateTime> clock =
        schedule.clock.FollowsZrnClock() ? zrn::BreakLocalTime(schedule.clock.ZrnClock())
                                         : std::nullopt;
    if (!clock) {
        Refuse("The ZRN clock is not read yet, or is being edited: an active schedule is "
               "checked against it.\nTry again once the clock panel shows the device clock.");
        return;
    }
    const std::optional<std::string> file = ChooseFile(
        &Host().Window(), {FileDialogKind::Open, "Import schedules", kFilter, "json", {}});
    if (!file)
        return;
    const std::string name = NameOf(*file);
    const auto read = zrn::ReadPlanFile(PathOf(*file));
    if (const zrn::Refusal* refusal = std::get_if<zrn::Refusal>(&read)) {
        Refuse(name + ": " + refusal->Text() + "\nNothing was sent.");
        return;
    }
    const zrn::Plan& candidate = std::get<zrn::Plan>(read);
    if (candidate.schedules.empty()) {
        Refuse(name + " lists no schedules.\nNothing was sent.");
        return;
    }
    // The file dialog ran its own loop: the device's copy is taken now.
    if (const auto why = zrn::UnlistedNotRead(candidate, DeviceStates(schedule.onDevice))) {
        Refuse(*why);
        return;
    }
    if (const auto refusal = zrn::CheckPlanFits(candidate, DeviceTable(schedule.onDevice), clock)) {
        Refuse(name + " does not fit the device: " + refusal->Text() + "\nNothing was sent.");
        return;
    }
    if (MessageBox(&Host().Window(), zrn::ReplaceQuestion(candidate, name, zrn::DIALOG_IMPORT),
                   "Import schedules", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    if (RefuseWithoutDevice())
        return; // the port went while the question was open
    plan = candidate;
    strFileName = name;
    steps = zrn::PlanImportSteps(plan, DeviceTable(schedule.onDevice), zrn::DIALOG_IMPORT);
    Store();
}

void CPlanFiles::Store() {
    stage = Stage::Storing;
    Host().AppendLog("Importing the schedules of " + strFileName);
    // The panel showed an entry that is being replaced.
    schedule.sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    Host().BeforeChange();
    for (const zrn::Expectation& store : steps.stores) {
        const int index = store.entry.nNumber - 1;
        schedule.sched.table[static_cast<std::size_t>(index)] = store.entry;
        if (store.change == zrn::Change::Delete) {
            Host().SendCommand(zrn::ScheduleDeleteCommand(store.entry.nNumber));
            schedule.ReadBack(index, zrn::STATUS_PART, store);
        } else {
            schedule.UploadScheduleEntry(index);
        }
    }
    schedule.SetSelectedFields();
    OnDeviceSchedules(); // a read that could not go out is over already
}

void CPlanFiles::Activate() {
    stage = Stage::Activating;
    for (const zrn::Expectation& activation : steps.activations) {
        schedule.sched.table[activation.entry.nNumber - 1u] = activation.entry;
        schedule.SendStatusChange(activation.entry);
    }
    if (steps.activations.empty())
        Report();
    else
        OnDeviceSchedules();
}

bool CPlanFiles::ReadBacksIn() const {
    for (const zrn::PlannedSchedule& planned : plan.schedules)
        if (schedule.onDevice.State(planned.entry.nNumber - 1) == zrn::ReadState::Reading)
            return false;
    return true;
}

bool CPlanFiles::AllStored() const {
    for (const zrn::Expectation& store : steps.stores) {
        const int index = store.entry.nNumber - 1;
        if (!zrn::Shows(store, schedule.onDevice.State(index), schedule.onDevice.Entry(index)))
            return false;
    }
    return true;
}

void CPlanFiles::OnDeviceSchedules() {
    if (stage == Stage::Idle || !ReadBacksIn())
        return;
    if (stage == Stage::Storing && AllStored())
        Activate();
    else
        Report();
}

void CPlanFiles::Report() {
    const zrn::ImportResult result =
        zrn::ImportReport(plan, strFileName, stage == Stage::Activating,
                          DeviceTable(schedule.onDevice), DeviceStates(schedule.onDevice));
    stage = Stage::Idle;
    // Often inside a link notification, which must not wait for a box.
    Host().ReportLater(result.text);
}
