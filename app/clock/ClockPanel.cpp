// The clock panel: the device clock, the PC clock, setting the device clock.
#include "protocol/Catalogue.h"
#include "schedule/CalendarTime.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <ctime>

void CZRNcomDlg::ShowPcClock() {
    const int64_t now = std::time(nullptr);
    SetDlgItemText(IDC_PC_DATE, zrn::FormatLocalTime(now, zrn::TimeText::Date));
    SetDlgItemText(IDC_PC_TIME, zrn::FormatLocalTime(now, zrn::TimeText::Time));
}

void CZRNcomDlg::OnBnClickedButtonClock() {
    SendCommand(zrn::ClockQuery());
}

void CZRNcomDlg::ProcessReadClockResponse() {
    TraceNotYet("ProcessReadClockResponse");
}
void CZRNcomDlg::OnSetfocusZrnDateText() {
    TraceNotYet("OnSetfocusZrnDateText");
}
void CZRNcomDlg::OnSetfocusZrnTimeText() {
    TraceNotYet("OnSetfocusZrnTimeText");
}
void CZRNcomDlg::OnSetfocusZrnPicker(Notify&) {
    TraceNotYet("OnSetfocusZrnPicker");
}
void CZRNcomDlg::OnKillfocusZrnDate(Notify&) {
    TraceNotYet("OnKillfocusZrnDate");
}
void CZRNcomDlg::OnKillfocusZrnTime(Notify&) {
    TraceNotYet("OnKillfocusZrnTime");
}
void CZRNcomDlg::OnDropdownZrnDate(Notify&) {
    TraceNotYet("OnDropdownZrnDate");
}
void CZRNcomDlg::OnCloseupZrnDate(Notify&) {
    TraceNotYet("OnCloseupZrnDate");
}
void CZRNcomDlg::OnDatetimechangeZrnDate(Notify&) {
    TraceNotYet("OnDatetimechangeZrnDate");
}
void CZRNcomDlg::OnDatetimechangeZrnTime(Notify&) {
    TraceNotYet("OnDatetimechangeZrnTime");
}
void CZRNcomDlg::OnBnClickedCancelClockEdit() {
    TraceNotYet("OnBnClickedCancelClockEdit");
}
void CZRNcomDlg::OnBnClickedUpdateZrnClock() {
    TraceNotYet("OnBnClickedUpdateZrnClock");
}
void CZRNcomDlg::OnBnClickedSyncZrnClock() {
    TraceNotYet("OnBnClickedSyncZrnClock");
}
