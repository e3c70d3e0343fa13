// The schedule list: its start-up, the rebuild from the table, selection by
// click, the context menus, and the prompt when an edited entry is left.
#include "model/CalendarTime.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/PanelSupport.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "resources/Resources.h"
#include "schedule/ScheduleLogic.h"
#include "schedule/SchedulePanel.h"

#include <ctime>

using namespace win;
using schedpanel::Text;

void SchedulePanel::InitScheduleList() {
    // Schedule list: report view, one row at a time, grid lines, whole rows.
    ListView* list = Window().Item<ListView>(IDC_LIST_CTRL);
    list->SetStyle(list->GetStyle() | LVS_REPORT | LVS_SHOWSELALWAYS);
    list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // The first five columns share the width equally; "Interval" takes the remainder.
    const int width = list->ClientWidth();
    int column = 0;
    for (const char* heading : {"Status", "Start Date", "Start Time", "Stop Date", "Stop Time"})
        list->InsertColumn(column++, heading, width / 6);
    list->InsertColumn(column, "Interval", width - 5 * (width / 6));

    for (int id : {IDB_ROW_ACTIVE, IDB_ROW_INACTIVE}) {
        const Colour magenta(255, 0, 255);
        imageListNormal.Add(LoadBitmap(id, imageListNormal.Size()), magenta);
        imageListSmall.Add(LoadBitmap(id, imageListSmall.Size()), magenta);
    }
    list->SetImageList(imageListNormal, ListView::Normal);
    list->SetImageList(imageListSmall, ListView::Small);

    InitScheduleTable();
    if (sched.nSelectedRow != zrn::NO_SELECTABLE_ACTIVE_ENTRY)
        list->SetItemState(sched.nSelectedRow, true, false);
}

void SchedulePanel::InitScheduleTable() {
    Window().Item<ListView>(IDC_LIST_CTRL)->DeleteAllItems();
    zrn::InitScheduleTable(sched, std::time(nullptr), schedpanel::LogSink(host),
                           schedpanel::TraceSink());
}

void SchedulePanel::RefreshScheduleList() {
    const int nEntryBefore = zrn::SelectedEntryIndex(sched);
    ListView* list = Window().Item<ListView>(IDC_LIST_CTRL);
    list->DeleteAllItems();
    sched.listed = ListedStates();
    const zrn::ListRows rows =
        zrn::BuildListRows(sched.table, sched.nDaylightFlag, schedpanel::LogSink(host),
                           schedpanel::TraceSink(), sched.listed);
    for (int r = 0; r < static_cast<int>(rows.rows.size()); ++r) {
        const zrn::ListRow& row = rows.rows[static_cast<size_t>(r)];
        list->InsertItem(r, row.texts[0], row.nImage);
        list->SetItemData(r, row.nEntry);
        for (int column = 1; column < static_cast<int>(row.texts.size()); ++column)
            list->SetItemText(r, column, row.texts[static_cast<size_t>(column)]);
    }
    sched.nRowEntry = rows.nRowEntry;

    // The selection goes with its entry, so the panel and the actions never
    // point at two different schedules.
    const zrn::SelectionAfterRebuild selection =
        zrn::FollowSelection(sched.nSelectedRow, nEntryBefore, sched.nRowEntry);
    sched.nSelectedRow = selection.nSelectedRow;
    if (selection.bEntryGone) {
        sched.bEditPending = 0;
        SetSelectedFields();
    }
    if (sched.nSelectedRow != zrn::NO_SELECTABLE_ACTIVE_ENTRY)
        list->SetItemState(sched.nSelectedRow, true, false);
    SetZrnButtonProperly();
}

// The first step of a click: an edited entry is saved, discarded or kept.
// False when the click ends here.
bool SchedulePanel::LeaveCurrentEntry() {
    zrn::ScheduleState& s = sched;
    const zrn::LeavePrompt prompt = zrn::LeaveEntryPrompt(
        s.bEditPending, s.nSelectedRow,
        s.bEditPending && s.nSelectedRow != zrn::NO_SELECTABLE_ACTIVE_ENTRY && StartStopValid());
    if (prompt == zrn::LeavePrompt::None) {
        s.bEditPending = 0;
        return true;
    }
    const zrn::PromptBox box = zrn::LeaveEntryBox(prompt);
    const int answer = MessageBox(&Window(), box.text, {}, box.flags);
    switch (zrn::LeaveEntryAction(prompt, answer)) {
    case zrn::LeaveAction::SaveAndContinue:
        SaveEntryAndUpload();
        return true;
    case zrn::LeaveAction::Continue:
        // "OK to Discard": the edits are dropped, not kept in the list.
        DiscardPendingEdit();
        return true;
    case zrn::LeaveAction::RefreshAndStop: {
        RefreshSchedules();
        // The click has already highlighted its row; nothing is selected now.
        ListView* list = Window().Item<ListView>(IDC_LIST_CTRL);
        for (int row = 0; row < list->GetItemCount(); ++row)
            list->SetItemState(row, false, false);
        return false;
    }
    }
    return false;
}

namespace {

int MenuOf(zrn::EntryMenu menu) {
    switch (menu) {
    case zrn::EntryMenu::Inactive:
        return IDR_MENU_ENTRY_DISABLED;
    case zrn::EntryMenu::Active:
        return IDR_MENU_ENTRY_ENABLED;
    case zrn::EntryMenu::Add:
        break;
    }
    return IDR_MENU_ENTRY_ADD;
}

} // namespace

bool SchedulePanel::ChooseRow(int& row) {
    // The rows may move while the edited entry is left: the choice is the entry.
    const bool hasEntry = row >= 0 && row < zrn::SCHEDULE_ENTRY_COUNT;
    const int chosen = hasEntry ? sched.nRowEntry[static_cast<size_t>(row)] : -1;
    if (!LeaveCurrentEntry())
        return false;
    if (chosen >= 0)
        row = zrn::RowOfEntry(sched.nRowEntry, chosen);
    // The list shows exactly the chosen row, also when the choice went away
    // with a dropped edit and the click had highlighted another schedule.
    sched.nSelectedRow = row;
    ListView* list = Window().Item<ListView>(IDC_LIST_CTRL);
    if (row >= 0)
        list->SetItemState(row, true, true);
    else
        for (int r = 0; r < list->GetItemCount(); ++r)
            list->SetItemState(r, false, false);
    return true;
}

bool SchedulePanel::ShowChosenRow(int& row) {
    if (!ChooseRow(row))
        return false;
    SetSelectedFields();
    ShowEntryTimings(row);
    Window().UpdateData(false);
    return true;
}

void SchedulePanel::DiscardPendingEdit() {
    // The edits never reached the device: the entry is what the device last said.
    const int nEntry = zrn::SelectedEntryIndex(sched);
    sched.bEditPending = 0;
    if (nEntry < 0)
        return;
    sched.table[static_cast<size_t>(nEntry)] = onDevice.Entry(nEntry);
    RefreshScheduleList();
}

void SchedulePanel::ShowSelectedEntry(bool followRadio) {
    SetSelectedFields();
    tStartDatePicker = tStartTimePicker = sched.edit.tStart;
    tStopDatePicker = tStopTimePicker = sched.edit.tStop;
    for (int id : {IDC_START_DATE, IDC_START_TIME})
        SetPickerTime(Window(), id, sched.edit.tStart);
    for (int id : {IDC_STOP_DATE, IDC_STOP_TIME})
        SetPickerTime(Window(), id, sched.edit.tStop);
    if (followRadio)
        ShowEntryTimings(sched.nSelectedRow);
    else
        ShowTimingPickers(sched.nSelectedRow);
}

void SchedulePanel::OnClickListCtrl(Notify& n) {
    const int x = n.point.x(), y = n.point.y();
    if (!sched.bScheduleReady) {
        host.AppendLog(Text("OnClickListCtrl;  Entry NotValid, Cursor x: %d, y: %d", x, y));
        return;
    }
    int row = n.row;
    if (!ShowChosenRow(row))
        return;
    host.AppendLog(Text("OnClickListCtrl;  Entry %d, Cursor x: %d, y: %d", row, x, y));
}

void SchedulePanel::OnKeySelectListCtrl(Notify& n) {
    // A key that moves the highlight chooses that row, as a click does, so the
    // row, the panel and every action mean the same schedule.
    if (!sched.bScheduleReady || n.row == sched.nSelectedRow)
        return;
    int row = n.row;
    if (!ShowChosenRow(row))
        return;
    host.AppendLog(Text("OnKeySelectListCtrl;  Entry %d", row));
}

void SchedulePanel::ShowEntryTimings(int row) {
    if (ShowTimingPickers(row))
        intervals.SelectIntervalRadio();
}

bool SchedulePanel::ShowTimingPickers(int row) {
    if (row < 0 || row >= zrn::SCHEDULE_ENTRY_COUNT)
        return false;
    const int nEntry = sched.nRowEntry[static_cast<size_t>(row)];
    if (nEntry < 0)
        return false;
    const zrn::ScheduleEntry& e = sched.table[static_cast<size_t>(nEntry)];
    const auto days = [](int h, int m, int s) { return (h * 3600 + m * 60 + s) / 86400.0; };
    odtInterval = days(e.nIntervalHours, e.nIntervalMinutes, e.nIntervalSeconds);
    odtOpenValve = days(0, e.nValveMinutes, e.nValveSeconds);
    odtSampleHolding = days(0, e.nHoldMinutes, e.nHoldSeconds);
    odtPumpOn = days(0, e.nPumpMinutes, e.nPumpSeconds);
    SetPickerSpan(Window(), IDC_INTERVAL, e.nIntervalHours, e.nIntervalMinutes, e.nIntervalSeconds);
    SetPickerSpan(Window(), IDC_OPEN_VALVE, 0, e.nValveMinutes, e.nValveSeconds);
    SetPickerSpan(Window(), IDC_SAMPLE_HOLDING, 0, e.nHoldMinutes, e.nHoldSeconds);
    SetPickerSpan(Window(), IDC_PUMP_ON, 0, e.nPumpMinutes, e.nPumpSeconds);
    return true;
}

void SchedulePanel::OnRclickListCtrl(Notify& n) {
    const ClientPoint client = ScreenToClient(Window(), IDC_LIST_CTRL, n.point.x(), n.point.y());
    host.AppendLog(Text("SchedulePanel::OnRclickListCtrl;  Entry %d, Cursor x: %d, y: %d", n.row,
                        client.x, client.y));
    if (!sched.bScheduleReady) {
        host.AppendLog(
            Text("OnRclickListCtrl;  Entry NotValid, Cursor x: %d, y: %d", client.x, client.y));
        return;
    }
    int row = n.row;
    if (!ChooseRow(row))
        return;
    SetSelectedFields();
    Window().UpdateData(false);
    host.AppendLog(
        Text("OnRclickListCtrl;  Entry %d, Cursor x: %d, y: %d", row, client.x, client.y));

    const int nEntry = zrn::SelectedEntryIndex(sched);
    const char status = nEntry < 0 || !onDevice.IsRead(nEntry)
                            ? zrn::STATUS_EMPTY
                            : static_cast<char>(sched.table[static_cast<size_t>(nEntry)].chStatus);
    if (const MenuTemplate* menu = LoadMenu(MenuOf(zrn::ContextMenuFor(row, status))))
        Window().TrackMenu(*menu, n.point);
}

void SchedulePanel::OnLvnItemActivateListCtrl(Notify& n) {
    // An activation changes no item state: new and old are both 0.
    if (sched.bScheduleReady)
        host.AppendLog(Text("OnLvnItemActivateListCtrl;  Entry %d, New %d, Old %d", n.row, 0, 0));
}
