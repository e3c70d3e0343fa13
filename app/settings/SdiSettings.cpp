// SDI-12 address, delay and durations; the identification dialog.
#include "platform/Win.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

using namespace win;

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
void CZRNcomDlg::ProcessSdiDurationResponse(char, int, int) {
    TraceNotYet("ProcessSdiDurationResponse");
}
void CZRNcomDlg::OnSdiInformation() {
    TraceNotYet("OnSdiInformation");
}

// SDI-12 settings: each box edits on focus and sends when the focus leaves.
CZRNcomDlgEvents::Rows CZRNcomDlgEvents::Settings() {
    using D = CZRNcomDlg;
    static constexpr EventEntry<D> rows[] = {
        {IDC_SDI_ADDRESS, EN_SETFOCUS, &D::OnSetfocusSdiSetting},
        {IDC_SDI_ADDRESS, EN_KILLFOCUS, &D::OnKillfocusSdiSetting},
        {IDC_SDI_DELAY, EN_SETFOCUS, &D::OnSetfocusSdiSetting},
        {IDC_SDI_DELAY, EN_KILLFOCUS, &D::OnKillfocusSdiSetting},
        {IDC_VALVE_SECS, EN_SETFOCUS, &D::OnSetfocusSdiSetting},
        {IDC_VALVE_SECS, EN_KILLFOCUS, &D::OnKillfocusSdiSetting},
        {IDC_HOLD_SECS, EN_SETFOCUS, &D::OnSetfocusSdiSetting},
        {IDC_HOLD_SECS, EN_KILLFOCUS, &D::OnKillfocusSdiSetting},
        {IDC_PUMP_SECS, EN_SETFOCUS, &D::OnSetfocusSdiSetting},
        {IDC_PUMP_SECS, EN_KILLFOCUS, &D::OnKillfocusSdiSetting},
    };
    return rows;
}
