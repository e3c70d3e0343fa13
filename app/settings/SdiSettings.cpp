// SDI-12 address, delay and durations; the identification dialog.
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::ProcessSDIAddress() {
    TraceNotYet("ProcessSDIAddress");
}
void CZRNcomDlg::ProcessDelayResponse() {
    TraceNotYet("ProcessDelayResponse");
}
void CZRNcomDlg::ProcessSDIResponse() {
    TraceNotYet("ProcessSDIResponse");
}
void CZRNcomDlg::OnSetfocusSdiSetting(Notify&) {
    TraceNotYet("OnSetfocusSdiSetting");
}
void CZRNcomDlg::OnKillfocusSdiSetting(Notify&) {
    TraceNotYet("OnKillfocusSdiSetting");
}
void CZRNcomDlg::OnSdiInformation() {
    TraceNotYet("OnSdiInformation");
}
