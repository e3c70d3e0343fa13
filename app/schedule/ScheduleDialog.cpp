// The schedule list, its transfer to and from the device, and the editing
// actions: the dialog's side of the schedule table.
#include "platform/DebugOutput.h"
#include "schedule/ScheduleRules.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <ctime>

void CZRNcomDlg::InitScheduleTable() {
    Item<ListView>(IDC_LIST_CTRL)->DeleteAllItems();
    zrn::InitScheduleTable(
        sched, std::time(nullptr), [this](std::string_view line) { AppendLog(line); },
        [](std::string_view line) { OutputDebugString(line); });
}

void CZRNcomDlg::ProcessScheduleResponse() {
    TraceNotYet("ProcessScheduleResponse");
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
