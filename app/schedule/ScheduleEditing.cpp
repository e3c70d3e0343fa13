// Editing the schedule table: loading the selected entry into the panel,
// storing the panel back, and the Save, Add, Delete, Activate, Deactivate,
// double-click and Clear All actions.
#include "model/CalendarTime.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/PanelSupport.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "schedule/ButtonRule.h"
#include "schedule/ScheduleLogic.h"
#include "schedule/SchedulePanel.h"

#include <algorithm>
#include <utility>

using namespace win;
using schedpanel::Text;

namespace {

constexpr int kStartStopPickers[] = {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME};
constexpr int kCustomPickers[] = {IDC_INTERVAL, IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON};

double OleSpan(int64_t ts) {
    const zrn::SpanParts p = zrn::SplitSpan(ts);
    return (p.hours * 3600 + p.minutes * 60 + p.seconds) / 86400.0;
}

} // namespace

void SchedulePanel::SetSelectedFields() {
    const int nEntry = zrn::SelectedEntryIndex(sched);
    // An entry not read from the device has no values to edit.
    if (!sched.bScheduleReady || sched.nSelectedRow == zrn::NO_SELECTABLE_ACTIVE_ENTRY ||
        !zrn::SelectedEntryRead(sched)) {
        DebugTrace("ZRNcom/SetSelectedFields; NO_SELECTABLE_ACTIVE_ENTRY\n");
        for (int id : kStartStopPickers)
            Window().EnableItem(id, false);
        for (int id : kCustomPickers)
            Window().EnableItem(id, false);
        SetZrnButtonProperly();
        return;
    }
    DebugTrace("ZRNcom/SetSelectedFields; Entry selected (%d)\n", nEntry);
    const zrn::ScheduleEntry& entry = sched.table[static_cast<size_t>(nEntry)];
    const zrn::CheckedEntry checked = zrn::CheckEntry(
        entry, sched.nDaylightFlag, schedpanel::TraceSink(), zrn::EntryCheck::TimesAndDurations);
    const bool active = entry.chStatus == zrn::STATUS_ACTIVE;
    sched.selected.bActive = active ? 1 : 0;

    tStartDatePicker = tStartTimePicker = checked.tStart;
    sched.edit.tStart = sched.selected.tStart = checked.tStart;
    sched.bEditPending = 0;
    for (int id : kStartStopPickers)
        Window().EnableItem(id, !active);
    tStopDatePicker = tStopTimePicker = checked.tStop;
    sched.edit.tStop = sched.selected.tStop = checked.tStop;

    odtInterval = OleSpan(checked.tsInterval);
    sched.edit.tsInterval = sched.selected.tsInterval = checked.tsInterval;
    odtOpenValve = OleSpan(checked.tsOpenValve);
    sched.edit.tsOpenValve = sched.selected.tsOpenValve = checked.tsOpenValve;
    odtSampleHolding = OleSpan(checked.tsSampleHolding);
    sched.edit.tsSampleHolding = sched.selected.tsSampleHolding = checked.tsSampleHolding;
    odtPumpOn = OleSpan(checked.tsPumpOn);
    sched.edit.tsPumpOn = sched.selected.tsPumpOn = checked.tsPumpOn;

    if (checked.bCorrected)
        host.AppendLog(Text("SetSelectedFields Entry %d has invalid value", nEntry));
    for (int id : kCustomPickers)
        Window().EnableItem(id, false);
    SetZrnButtonProperly();
    DebugTrace("ZRNcom/SetSelectedFields; exit\n");
}

// The panel's values into the selected entry; false when there is none to take them.
bool SchedulePanel::StoreEdit() {
    if (sched.nSelectedRow == zrn::NO_SELECTABLE_ACTIVE_ENTRY) {
        DebugTrace("ZRNcom/SaveActiveEntry; NO_SELECTABLE_ACTIVE_ENTRY\n");
        return false;
    }
    const int nEntry = zrn::SelectedEntryIndex(sched);
    if (nEntry == zrn::NO_SELECTABLE_ACTIVE_ENTRY) {
        DebugTrace("ZRNcom/SaveActiveEntry; Error, nEntry = NO_SELECTABLE_ACTIVE_ENTRY\n");
        return false;
    }
    Window().UpdateData(true);
    zrn::StoreEditIntoEntry(sched.table[static_cast<size_t>(nEntry)], sched);
    sched.selected.bActive = 0;
    return true;
}

void SchedulePanel::SaveActiveEntry() {
    if (sched.bEditPending && StoreEdit())
        RefreshScheduleList();
}

void SchedulePanel::SaveEntryAndUpload() {
    CWaitCursor wait;
    sched.bEditPending = 1;
    StoreEdit();
    const int nEntry = zrn::SelectedEntryIndex(sched);
    if (nEntry != zrn::NO_SELECTABLE_ACTIVE_ENTRY &&
        zrn::CheckEntry(sched.table[static_cast<size_t>(nEntry)], sched.nDaylightFlag, {})
            .bCorrected) {
        // Values the list cannot show (an interval of 0, say): the rebuild of the
        // edited entry logs and empties it, and nothing goes to the device.
        RefreshScheduleList();
        sched.bEditPending = 0;
        RefreshScheduleList();
        return;
    }
    sched.bEditPending = 0;
    // An entry the device never reported leaves the list once it is no longer
    // edited, and takes the selection with it: nothing is sent for it.
    if (nEntry != zrn::NO_SELECTABLE_ACTIVE_ENTRY &&
        onDevice.State(nEntry) != zrn::ReadState::Unknown)
        SendEntry(nEntry);
    // One rebuild shows the stored entry, its read-back under way, and the buttons.
    RefreshScheduleList();
}

void SchedulePanel::OnBnClickedButtonSave() {
    SaveEntryAndUpload();
}

void SchedulePanel::OnBnClickedButtonAdd() {
    CWaitCursor wait;
    intervals.ReapplyIntervalPreset(intervals.IntervalPreset());
    if (!clock.FollowsZrnClock() || !zrn::BreakLocalTime(clock.ZrnClock())) {
        // The new schedule starts after the device's present time, which is not known now.
        host.AppendLog("Add: waiting for the ZRN clock (not read yet, or being edited)");
        return;
    }
    DebugTrace("ZRNcom/OnBnClickedButtonAdd; Entry\n");
    if (!sched.bScheduleReady) {
        DebugTrace("ZRNcom/OnBnClickedButtonAdd; Error in List Control\n");
        return;
    }
    const zrn::ReadStates states = ListedStates();
    const int nEntry = zrn::FirstFreeReadEntry(sched.table, states);
    if (nEntry < 0) {
        if (std::count(states.begin(), states.end(), zrn::ReadState::Read) <
            zrn::SCHEDULE_ENTRY_COUNT) {
            // A slot not read may hold a schedule: it is not offered.
            host.AppendLog("Add: waiting for the schedules to be read");
            return;
        }
        DebugTrace("ZRNcom/OnBnClickedButtonAdd; Add Error, Full\n");
        wait.Restore();
        MessageBox(&Window(), "Add Error, Schedule is full.", {}, MB_OK | MB_ICONERROR);
        return;
    }
    const int64_t base = zrn::AddBaseTime(sched.table, sched.nRowEntry, clock.ZrnClock(),
                                          sched.nDaylightFlag, states);
    const zrn::AddProposal proposal = zrn::ProposeAdd(base, intervals.IntervalPreset());
    if (!zrn::DeviceHolds(proposal.tStart) || !zrn::DeviceHolds(proposal.tStop)) {
        wait.Restore();
        MessageBox(&Window(), "Add Error, the ZRN holds dates from 01/01/2000 to 12/31/2037 only.",
                   {}, MB_OK | MB_ICONERROR);
        return;
    }

    sched.edit.tStart = sched.selected.tStart = proposal.tStart;
    sched.edit.tStop = sched.selected.tStop = proposal.tStop;
    tStartDatePicker = tStartTimePicker = proposal.tStart;
    tStopDatePicker = tStopTimePicker = proposal.tStop;
    Window().UpdateData(false);

    zrn::FillAddedEntry(sched.table[static_cast<size_t>(nEntry)], proposal);

    sched.bEditPending = 1;
    RefreshScheduleList();
    ListView* list = Window().Item<ListView>(IDC_LIST_CTRL);
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemData(row) != nEntry)
            continue;
        list->SetItemState(row, true, true);
        sched.nSelectedRow = row;
        Window().GotoDlgCtrl(IDC_LIST_CTRL);
        break;
    }
    sched.bEditPending = 1;
    RefreshScheduleList();
}

void SchedulePanel::OnBnClickedButtonDelete() {
    const int nEntry = zrn::SelectedEntryIndex(sched);
    const int answer =
        MessageBox(&Window(), "You are about to Delete a Schedule.  Do you want to continue?",
                   "Verify Delete", MB_YESNO);
    if (answer == IDYES) {
        if (sched.nSelectedRow == zrn::NO_SELECTABLE_ACTIVE_ENTRY) {
            DebugTrace("ZRNcom/OnBnClickedButtonDelete; NO_SELECTABLE_ACTIVE_ENTRY\n");
            return;
        }
        if (sched.bScheduleReady && nEntry != zrn::NO_SELECTABLE_ACTIVE_ENTRY) {
            host.AppendLog(Text("OnBnClickedButtonDelete;  Entry %d", nEntry));
            zrn::ScheduleEntry& entry = sched.table[static_cast<size_t>(nEntry)];
            entry.chStatus = zrn::STATUS_EMPTY;
            host.BeforeChange();
            host.SendCommand(zrn::ScheduleDeleteCommand(entry.nNumber));
            ReadBack(nEntry, zrn::STATUS_PART, {zrn::Change::Delete, entry});
            // The deleted entry takes the selection with it: the rebuild leaves no
            // row selected and clears the panel, instead of showing row 0 while the
            // actions still point at another row.
            RefreshScheduleList();
            SetSelectedFields();
        }
    }
    ListView* list = Window().Item<ListView>(IDC_LIST_CTRL);
    const int count = list->GetItemCount();
    if (count > 0 && sched.nSelectedRow >= count) {
        sched.nSelectedRow = count - 1;
        list->SetItemState(sched.nSelectedRow, true, false);
        Window().GotoDlgCtrl(IDC_LIST_CTRL);
    } else if (count == 0) {
        sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    }
    SetZrnButtonProperly();
}

void SchedulePanel::SendStatusChange(const zrn::ScheduleEntry& entry) {
    const char status = static_cast<char>(entry.chStatus);
    host.BeforeChange();
    host.SendCommand(zrn::ScheduleStatusCommand(entry.nNumber, status));
    const zrn::Change change =
        status == zrn::STATUS_ACTIVE ? zrn::Change::Activate : zrn::Change::Deactivate;
    ReadBack(entry.nNumber - 1, zrn::STATUS_PART, {change, entry});
}

bool SchedulePanel::StartStopValid() {
    return zrn::ValidateDateTimeStop(sched.table, zrn::SelectedEntryIndex(sched), clock.ZrnClock(),
                                     sched.edit.tStart, sched.edit.tStop, sched.nDaylightFlag,
                                     schedpanel::LogSink(host)) == zrn::VALID_START_STOP;
}

int SchedulePanel::SetZrnButtonProperly() {
    zrn::ButtonInputs in;
    in.nItemCount = Window().Item<ListView>(IDC_LIST_CTRL)->GetItemCount();
    in.nSelectedRow = sched.nSelectedRow;
    in.nSelectedEntry = zrn::SelectedEntryIndex(sched);
    if (in.nSelectedEntry != -1)
        in.chSelectedStatus =
            static_cast<char>(sched.table[static_cast<size_t>(in.nSelectedEntry)].chStatus);
    in.bEditPending = sched.bEditPending;
    in.bValidStartStop = StartStopValid();

    const zrn::ButtonStates out = zrn::ComputeButtonStates(in);
    if (out.bSelectedWithoutEntry)
        DebugTrace("ZRNcom/SetZrnButtonProperly; nSelectedEntry is -1\n");
    // In this order: the refresh button between the clock's and Delete.
    const std::pair<int, bool> first[] = {{IDC_BUTTON_SAVE, out.bSave},
                                          {IDC_BUTTON_DISCARD, out.bDiscard},
                                          {IDC_BUTTON_PROPERTIES, out.bProperties},
                                          {IDC_BUTTON_ENABLE, out.bEnable},
                                          {IDC_BUTTON_DISABLE, out.bDisable},
                                          {IDC_UPDATE_ZRN_CLOCK, out.bUpdateClock},
                                          {IDC_SYNC_ZRN_CLOCK, out.bSyncClock}};
    const std::pair<int, bool> last[] = {{IDC_BUTTON_DELETE, out.bDelete},
                                         {IDC_BUTTON_CLEAR_ALL, out.bClearAll},
                                         {IDC_BUTTON_ADD, out.bAdd}};
    for (const auto& [id, enabled] : first)
        Window().EnableItem(id, enabled);
    if (out.bScheduleRefresh)
        Window().EnableItem(IDC_SCHEDULE_REFRESH, *out.bScheduleRefresh);
    for (const auto& [id, enabled] : last)
        Window().EnableItem(id, enabled);
    return 1;
}

bool SchedulePanel::HasSelection() const {
    return sched.nSelectedRow != zrn::NO_SELECTABLE_ACTIVE_ENTRY;
}

bool SchedulePanel::SelectedNotActive() const {
    return zrn::SelectedEntryNotActive(sched);
}

int SchedulePanel::PendIfEditable() {
    sched.bEditPending = SelectedNotActive() ? 1 : 0;
    return sched.bEditPending;
}

void SchedulePanel::SetStartStop(const zrn::StartStop& shown) {
    sched.edit.tStart = shown.tStart;
    sched.edit.tStop = shown.tStop;
    tStartDatePicker = tStartTimePicker = shown.tStart;
    tStopDatePicker = tStopTimePicker = shown.tStop;
}

void SchedulePanel::SetSpan(zrn::CustomPicker which, int64_t ts) {
    switch (which) {
    case zrn::CustomPicker::Interval:
        sched.edit.tsInterval = ts;
        break;
    case zrn::CustomPicker::OpenValve:
        sched.edit.tsOpenValve = ts;
        break;
    case zrn::CustomPicker::SampleHolding:
        sched.edit.tsSampleHolding = ts;
        break;
    case zrn::CustomPicker::PumpOn:
        sched.edit.tsPumpOn = ts;
        break;
    }
}

void SchedulePanel::ShowSpans() {
    odtInterval = zrn::OleTimeOfDay(sched.edit.tsInterval);
    odtOpenValve = zrn::OleTimeOfDay(sched.edit.tsOpenValve);
    odtSampleHolding = zrn::OleTimeOfDay(sched.edit.tsSampleHolding);
    odtPumpOn = zrn::OleTimeOfDay(sched.edit.tsPumpOn);
}

zrn::ScheduleEntry* SchedulePanel::EntryToChange(const char* handler) {
    if (sched.nSelectedRow == zrn::NO_SELECTABLE_ACTIVE_ENTRY) {
        DebugTrace("ZRNcom/%s; NO_SELECTABLE_ACTIVE_ENTRY\n", handler);
        return nullptr;
    }
    const int nEntry = zrn::SelectedEntryIndex(sched);
    if (!sched.bScheduleReady || !zrn::SelectedEntryRead(sched))
        return nullptr;
    host.AppendLog(Text("%s;  ListCtl= %d, Schd= %d", handler, sched.nSelectedRow, nEntry));
    return &sched.table[static_cast<size_t>(nEntry)];
}

void SchedulePanel::OnBnClickedButtonEnable() {
    zrn::ScheduleEntry* changed = EntryToChange("OnBnClickedButtonEnable");
    if (changed == nullptr)
        return;
    zrn::ScheduleEntry& entry = *changed;
    if (StartStopValid()) {
        entry.chStatus = zrn::STATUS_ACTIVE;
        for (int id : kStartStopPickers)
            Window().EnableItem(id, false);
        for (int id : kCustomPickers)
            Window().EnableItem(id, false);
    } else {
        MessageBox(&Window(), "Entry has a conflict or is not valid.", {}, MB_OK | MB_ICONERROR);
        entry.chStatus = zrn::STATUS_INACTIVE;
    }
    RefreshScheduleList();
    Window().Item<ListView>(IDC_LIST_CTRL)->SetItemState(sched.nSelectedRow, true, false);
    // Also after a refusal, so that the device's copy is made inactive too.
    SendStatusChange(entry);
}

void SchedulePanel::OnBnClickedButtonDisable() {
    if (MessageBox(&Window(), "You are about to Deactivate a Schedule.  Do you want to continue?",
                   "Verify Deactivate", MB_YESNO) != IDYES)
        return;
    zrn::ScheduleEntry* entry = EntryToChange("OnBnClickedButtonDisable");
    if (entry == nullptr)
        return;
    entry->chStatus = zrn::STATUS_INACTIVE;
    SendStatusChange(*entry);
    RefreshScheduleList();
    Window().Item<ListView>(IDC_LIST_CTRL)->SetItemState(sched.nSelectedRow, true, false);
}

void SchedulePanel::OnNmDoubleClickListCtrl(Notify& n) {
    if (!sched.bScheduleReady)
        return;
    // A double-click changes no item state: new and old are both 0.
    host.AppendLog(Text("OnNmDoubleClickListCtrl;  Entry %d, New %d, Old %d", n.row, 0, 0));
    if (n.row < 0 || n.row >= zrn::SCHEDULE_ENTRY_COUNT)
        return;
    const int nEntry = sched.nRowEntry[static_cast<size_t>(n.row)];
    if (nEntry == zrn::NO_SELECTABLE_ACTIVE_ENTRY ||
        sched.listed[static_cast<size_t>(nEntry)] != zrn::ReadState::Read)
        return; // its status is not known to toggle
    zrn::ScheduleEntry& entry = sched.table[static_cast<size_t>(nEntry)];
    if (entry.chStatus == zrn::STATUS_INACTIVE) {
        if (!StartStopValid()) {
            MessageBox(&Window(), "Entry has a conflict or is not valid.", {},
                       MB_OK | MB_ICONERROR);
            return;
        }
        entry.chStatus = zrn::STATUS_ACTIVE;
    } else {
        entry.chStatus = zrn::STATUS_INACTIVE;
    }
    SendStatusChange(entry);
    RefreshScheduleList();
    Window().Item<ListView>(IDC_LIST_CTRL)->SetItemState(n.row, true, false);
}

void SchedulePanel::OnBnClickedButtonClearAll() {
    if (MessageBox(&Window(), "You are about to Clear All Schedules.  Do you want to continue?",
                   "Verify Clear All", MB_YESNO) != IDYES ||
        !sched.bScheduleReady)
        return;
    host.AppendLog("OnBnClickedButtonClearAll");
    for (zrn::ScheduleEntry& entry : sched.table)
        entry.chStatus = zrn::STATUS_EMPTY;
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    RefreshScheduleList();
    host.BeforeChange();
    for (const std::string& command : zrn::ClearAllSequence())
        host.SendCommand(command);
    for (int index = 0; index < zrn::SCHEDULE_ENTRY_COUNT; ++index)
        ReadBack(index, zrn::STATUS_PART,
                 {zrn::Change::Delete, sched.table[static_cast<size_t>(index)]});
    SetSelectedFields();
    sched.bEditPending = 0;
    SetZrnButtonProperly();
}
