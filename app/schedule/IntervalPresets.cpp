// Interval presets and the custom timing panel.
#include "platform/DebugOutput.h"
#include "platform/Profile.h"
#include "platform/Win.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <array>
#include <string>

using namespace win;

namespace {

struct Preset {
    const char* section;
    int hours, minutes, seconds; // interval
};

// Index 2 (45 minutes) has no radio button; 5 (custom) has no section.
constexpr std::array<Preset, 5> kPresets{{
    {"Interval15Min", 0, 15, 0},
    {"Interval30Min", 0, 30, 0},
    {"Interval45Min", 0, 45, 0},
    {"Interval1Hr", 1, 0, 0},
    {"Interval24Hr", 23, 59, 59}, // a day less one second: the interval picker shows no days
}};

double OleTimeOfDay(int64_t seconds) {
    return static_cast<double>(seconds) / 86400.0;
}

} // namespace

void CZRNcomDlg::SetRadioBoxParameters() {
    if (nIntervalPreset < 0 || nIntervalPreset >= static_cast<int>(kPresets.size())) {
        DebugTrace("ZRNcom/SetRadioBoxParameters; Invalid Radio Box Parameters\n");
        return;
    }
    const Preset& preset = kPresets[static_cast<size_t>(nIntervalPreset)];
    AppendLog(std::string("SetRadioBoxParameters: ") + preset.section);
    for (int id : {IDC_INTERVAL, IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        EnableItem(id, false);

    sched.tsEditInterval = preset.hours * 3600 + preset.minutes * 60 + preset.seconds;
    odtInterval = OleTimeOfDay(sched.tsEditInterval);

    // The file is read afresh every time, so an edited file counts at the next preset.
    // Minutes and seconds outside 0..59 cannot show in an "mm:ss" picker: such a value
    // falls back to the key's default.
    auto duration = [&](const char* minKey, int minDefault, const char* secKey) {
        auto read = [&](const char* key, int fallback) {
            const int value = zrn::GetPrivateProfileInt(preset.section, key, fallback, strIniFile);
            if (value >= 0 && value <= 59)
                return value;
            DebugTrace("ZRNcom/SetRadioBoxParameters; %s=%d out of range\n", key, value);
            return fallback;
        };
        const int minutes = read(minKey, minDefault);
        return int64_t{minutes} * 60 + read(secKey, 0);
    };
    sched.tsEditOpenValve = duration("OpenValveMin", 2, "OpenValveSec");
    odtOpenValve = OleTimeOfDay(sched.tsEditOpenValve);
    sched.tsEditSampleHolding = duration("SampleHoldingMin", 1, "SampleHoldingSec");
    odtSampleHolding = OleTimeOfDay(sched.tsEditSampleHolding);
    sched.tsEditPumpOn = duration("PumpOnMin", 1, "PumpOnSec");
    odtPumpOn = OleTimeOfDay(sched.tsEditPumpOn);

    UpdateData(false);
}

void CZRNcomDlg::InitIntervalPanel() {
    Item<DateTimePicker>(IDC_INTERVAL)->SetFormat("H:mm:ss");
    for (int id : {IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        Item<DateTimePicker>(id)->SetFormat("mm:ss");

    for (int id : {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME, IDC_INTERVAL,
                   IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        EnableItem(id, false);

    nIntervalPreset = 0;
    SetRadioBoxParameters();
}

void CZRNcomDlg::OnShowWindow(Notify&) {
    // Checks "15 min" without unchecking the others.
    CheckDlgButton(IDC_RADIO_15MIN, 1);
}

void CZRNcomDlg::OnSetIntervals(Notify& n) {
    SetRadioBoxParameters();
    n.result = 0;
}

void CZRNcomDlg::OnBnClickedRadio15Min() {
    TraceNotYet("OnBnClickedRadio15Min");
}
void CZRNcomDlg::OnBnClickedRadio30Min() {
    TraceNotYet("OnBnClickedRadio30Min");
}
void CZRNcomDlg::OnBnClickedRadio1Hour() {
    TraceNotYet("OnBnClickedRadio1Hour");
}
void CZRNcomDlg::OnBnClickedRadio24Hours() {
    TraceNotYet("OnBnClickedRadio24Hours");
}
void CZRNcomDlg::OnBnClickedRadioCustom() {
    TraceNotYet("OnBnClickedRadioCustom");
}
void CZRNcomDlg::OnCustomTimingChange(Notify&) {
    TraceNotYet("OnCustomTimingChange");
}
void CZRNcomDlg::ApplyIntervalPreset(int) {
    TraceNotYet("ApplyIntervalPreset");
}
void CZRNcomDlg::SelectIntervalRadio() {
    TraceNotYet("SelectIntervalRadio");
}
void CZRNcomDlg::CheckIntervalRadio(int) {
    TraceNotYet("CheckIntervalRadio");
}
void CZRNcomDlg::ReapplyIntervalPreset(int) {
    TraceNotYet("ReapplyIntervalPreset");
}
void CZRNcomDlg::EnableCustomPickers(int) {
    TraceNotYet("EnableCustomPickers");
}

// Interval presets and the custom timing pickers.
CZRNcomDlgEvents::Rows CZRNcomDlgEvents::Intervals() {
    using D = CZRNcomDlg;
    static constexpr EventEntry<D> rows[] = {
        {kWindow, WM_SHOWWINDOW, &D::OnShowWindow},
        {kWindow, WM_ZRNCOMDLGSETINTERVALS, &D::OnSetIntervals},
        {IDC_INTERVAL, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_SAMPLE_HOLDING, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_OPEN_VALVE, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_PUMP_ON, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_RADIO_15MIN, BN_CLICKED, &D::OnBnClickedRadio15Min},
        {IDC_RADIO_30MIN, BN_CLICKED, &D::OnBnClickedRadio30Min},
        {IDC_RADIO_1HOUR, BN_CLICKED, &D::OnBnClickedRadio1Hour},
        {IDC_RADIO_24HOURS, BN_CLICKED, &D::OnBnClickedRadio24Hours},
        {IDC_RADIO_CUSTOM, BN_CLICKED, &D::OnBnClickedRadioCustom},
        {IDC_INTERVAL, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        {IDC_SAMPLE_HOLDING, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        {IDC_OPEN_VALVE, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        {IDC_PUMP_ON, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
    };
    return rows;
}
