// The schedule list, its transfer to and from the device, and the editing
// actions: the dialog's side of the schedule table.
#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "protocol/Catalogue.h"
#include "schedule/ScheduleRules.h"
#include "shell/Resource.h"
#include "shell/Resources.h"
#include "shell/ZRNcomDlg.h"

#include <ctime>

using namespace win;

void CZRNcomDlg::InitScheduleList() {
    // Schedule list: report view, one row at a time, grid lines, whole rows.
    ListView* list = Item<ListView>(IDC_LIST_CTRL);
    list->SetStyle(list->GetStyle() | LVS_REPORT | LVS_SHOWSELALWAYS);
    list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // The first five columns share the width equally; "Interval" takes the remainder.
    const int width = list->ClientWidth();
    int column = 0;
    for (const char* heading : {"Status", "Start Date", "Start Time", "Stop Date", "Stop Time"})
        list->InsertColumn(column++, QString::fromLatin1(heading), width / 6);
    list->InsertColumn(column, QStringLiteral("Interval"), width - 5 * (width / 6));

    for (int id : {IDB_ROW_ACTIVE, IDB_ROW_INACTIVE}) {
        const QColor magenta(255, 0, 255);
        imageListNormal.Add(LoadBitmap(id, imageListNormal.Size()), magenta);
        imageListSmall.Add(LoadBitmap(id, imageListSmall.Size()), magenta);
    }
    list->SetImageList(imageListNormal, ListView::Normal);
    list->SetImageList(imageListSmall, ListView::Small);

    InitScheduleTable();
    if (sched.nSelectedRow != zrn::NO_SELECTABLE_ACTIVE_ENTRY)
        list->SetItemState(sched.nSelectedRow, true, false);
}

void CZRNcomDlg::InitScheduleTable() {
    Item<ListView>(IDC_LIST_CTRL)->DeleteAllItems();
    zrn::InitScheduleTable(
        sched, std::time(nullptr), [this](std::string_view line) { AppendLog(line); },
        [](std::string_view line) { OutputDebugString(line); });
}

void CZRNcomDlg::QueryScheduleEntry(int index) {
    // The nine queries of entry index + 1, status first; the schedule handler reads the replies.
    for (const std::string& command : zrn::ScheduleReadSequence(index + 1))
        SendCommand(command);
}

void CZRNcomDlg::ProcessScheduleResponse() {
    const zrn::ScheduleReply reply = zrn::ParseScheduleReply(strResponse);
    if (reply.nNumber == 5) {
        // Schedule number 5 carries the SDI row's durations: the settings panel shows them.
        const char which = strResponse[2];
        if (reply.kind != zrn::ScheduleReplyKind::Ignored)
            ProcessSdiDurationResponse(which, reply.nValues[1], reply.nValues[2]);
        return;
    }
    TraceNotYet("ProcessScheduleResponse");
}
void CZRNcomDlg::UploadScheduleEntry(int) {
    TraceNotYet("UploadScheduleEntry");
}
void CZRNcomDlg::RefreshSchedules() {
    TraceNotYet("RefreshSchedules");
}
void CZRNcomDlg::RefreshScheduleList() {
    TraceNotYet("RefreshScheduleList");
}
void CZRNcomDlg::SetSelectedFields() {
    TraceNotYet("SetSelectedFields");
}
void CZRNcomDlg::SaveActiveEntry() {
    TraceNotYet("SaveActiveEntry");
}
void CZRNcomDlg::SaveEntryAndUpload() {
    TraceNotYet("SaveEntryAndUpload");
}
void CZRNcomDlg::ShowEntryTimings(int) {
    TraceNotYet("ShowEntryTimings");
}
void CZRNcomDlg::OnBnClickedScheduleRefresh() {
    TraceNotYet("RefreshSchedules");
}
void CZRNcomDlg::OnBnClickedButtonSchedule() {
    TraceNotYet("OnBnClickedButtonSchedule");
}
void CZRNcomDlg::OnClickListCtrl(Notify&) {
    TraceNotYet("OnClickListCtrl");
}
void CZRNcomDlg::OnRclickListCtrl(Notify&) {
    TraceNotYet("OnRclickListCtrl");
}
void CZRNcomDlg::OnNmDoubleClickListCtrl(Notify&) {
    TraceNotYet("OnNmDoubleClickListCtrl");
}
void CZRNcomDlg::OnLvnItemActivateListCtrl(Notify&) {
    TraceNotYet("OnLvnItemActivateListCtrl");
}
void CZRNcomDlg::OnBnClickedButtonAdd() {
    TraceNotYet("OnBnClickedButtonAdd");
}
void CZRNcomDlg::OnBnClickedButtonDelete() {
    TraceNotYet("OnBnClickedButtonDelete");
}
void CZRNcomDlg::OnBnClickedButtonEnable() {
    TraceNotYet("OnBnClickedButtonEnable");
}
void CZRNcomDlg::OnBnClickedButtonDisable() {
    TraceNotYet("OnBnClickedButtonDisable");
}
void CZRNcomDlg::OnBnClickedButtonSave() {
    TraceNotYet("OnBnClickedButtonSave");
}
void CZRNcomDlg::OnBnClickedButtonClearAll() {
    TraceNotYet("OnBnClickedButtonClearAll");
}
void CZRNcomDlg::OnEntryTest() {
    TraceNotYet("OnEntryTest");
}
void CZRNcomDlg::OnStartDateChange(Notify&) {
    TraceNotYet("OnStartDateChange");
}
void CZRNcomDlg::OnStopDateChange(Notify&) {
    TraceNotYet("OnStopDateChange");
}
void CZRNcomDlg::OnStartDateDropdown(Notify&) {
    TraceNotYet("OnStartDateDropdown");
}
void CZRNcomDlg::OnStopDateDropdown(Notify&) {
    TraceNotYet("OnStopDateDropdown");
}
void CZRNcomDlg::OnStartDateCloseup(Notify&) {
    TraceNotYet("OnStartDateCloseup");
}
void CZRNcomDlg::OnStopDateCloseup(Notify&) {
    TraceNotYet("OnStopDateCloseup");
}
void CZRNcomDlg::OnStartDateSetfocus(Notify&) {
    TraceNotYet("OnStartDateSetfocus");
}
void CZRNcomDlg::OnStartTimeChange(Notify&) {
    TraceNotYet("OnStartTimeChange");
}
void CZRNcomDlg::OnStopTimeChange(Notify&) {
    TraceNotYet("OnStopTimeChange");
}
