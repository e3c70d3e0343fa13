// Interval presets and the custom timing panel.
#include "schedule/IntervalPanel.h"

#include "model/ScheduleRules.h"
#include "model/Settings.h"
#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "schedule/IntervalRules.h"

#include <string>

using namespace win;

namespace {

constexpr int kCustomPickers[] = {IDC_INTERVAL, IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON};

// The radio button of a preset; the 45-minute preset's identifier has no control.
int RadioOf(int preset) {
    switch (preset) {
    case zrn::PRESET_15MIN:
        return IDC_RADIO_15MIN;
    case zrn::PRESET_30MIN:
        return IDC_RADIO_30MIN;
    case zrn::PRESET_45MIN:
        return IDC_RADIO_45MIN;
    case zrn::PRESET_1HOUR:
        return IDC_RADIO_1HOUR;
    case zrn::PRESET_24HOURS:
        return IDC_RADIO_24HOURS;
    default:
        return IDC_RADIO_CUSTOM;
    }
}

} // namespace

IntervalPanel::IntervalPanel(PanelHost& host, SelectedSchedule& schedule,
                             const std::string& iniFile)
    : PanelOf(host), schedule(schedule), iniFile(iniFile) {}

void IntervalPanel::SetRadioBoxParameters() {
    const zrn::IntervalPreset* found = zrn::FindIntervalPreset(nIntervalPreset);
    if (found == nullptr) {
        DebugTrace("ZRNcom/SetRadioBoxParameters; Invalid Radio Box Parameters\n");
        return;
    }
    const zrn::IntervalPreset& preset = *found;
    host.AppendLog(std::string("SetRadioBoxParameters: ") + preset.section);
    for (int id : kCustomPickers)
        Window().EnableItem(id, false);

    schedule.SetSpan(zrn::CustomPicker::Interval, preset.tsInterval);

    // The file is read afresh every time, so an edited file counts at the next preset.
    // Minutes and seconds outside 0..59 cannot show in an "mm:ss" picker: such a value
    // falls back to the key's default.
    auto duration = [&](const char* minKey, int minDefault, const char* secKey) {
        auto read = [&](const char* key, int fallback) {
            const int value = zrn::GetPrivateProfileInt(preset.section, key, fallback, iniFile);
            if (value >= 0 && value <= 59)
                return value;
            DebugTrace("ZRNcom/SetRadioBoxParameters; %s=%d out of range\n", key, value);
            return fallback;
        };
        const int minutes = read(minKey, minDefault);
        return int64_t{minutes} * 60 + read(secKey, 0);
    };
    schedule.SetSpan(zrn::CustomPicker::OpenValve, duration("OpenValveMin", 2, "OpenValveSec"));
    schedule.SetSpan(zrn::CustomPicker::SampleHolding,
                     duration("SampleHoldingMin", 1, "SampleHoldingSec"));
    schedule.SetSpan(zrn::CustomPicker::PumpOn, duration("PumpOnMin", 1, "PumpOnSec"));
    schedule.ShowSpans();

    Window().UpdateData(false);
}

void IntervalPanel::OnInitDialog() {
    Window().Item<DateTimePicker>(IDC_INTERVAL)->SetFormat("H:mm:ss");
    for (int id : {IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        Window().Item<DateTimePicker>(id)->SetFormat("mm:ss");

    for (int id : {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME})
        Window().EnableItem(id, false);
    for (int id : kCustomPickers)
        Window().EnableItem(id, false);
    // A date the entry cannot hold is never offered.
    const auto fields = [](const zrn::LocalDateTime& t) {
        return PickerFields{t.year, t.month, t.day, t.hour, t.minute, t.second};
    };
    for (int id : {IDC_START_DATE, IDC_STOP_DATE})
        Window().Item<DateTimePicker>(id)->SetRange(fields(zrn::FIRST_DEVICE_TIME),
                                                    fields(zrn::LAST_DEVICE_TIME));

    nIntervalPreset = 0;
    SetRadioBoxParameters();
}

void IntervalPanel::OnShowWindow(Notify&) {
    // Checks "15 min" without unchecking the others.
    Window().CheckDlgButton(IDC_RADIO_15MIN, 1);
}

void IntervalPanel::OnSetIntervals(Notify& n) {
    SetRadioBoxParameters();
    n.result = 0;
}

void IntervalPanel::OnBnClickedRadio15Min() {
    ApplyIntervalPreset(*zrn::FindIntervalPreset(zrn::PRESET_15MIN));
}

void IntervalPanel::OnBnClickedRadio30Min() {
    ApplyIntervalPreset(*zrn::FindIntervalPreset(zrn::PRESET_30MIN));
}

void IntervalPanel::OnBnClickedRadio1Hour() {
    ApplyIntervalPreset(*zrn::FindIntervalPreset(zrn::PRESET_1HOUR));
}

void IntervalPanel::OnBnClickedRadio24Hours() {
    ApplyIntervalPreset(*zrn::FindIntervalPreset(zrn::PRESET_24HOURS));
}

void IntervalPanel::ApplyIntervalPreset(const zrn::IntervalPreset& preset) {
    nIntervalPreset = preset.nIndex;
    for (int id : kCustomPickers)
        Window().EnableItem(id, false);
    SetRadioBoxParameters();
    if (schedule.HasSelection()) {
        const int pending = schedule.PendIfEditable();
        schedule.SetZrnButtonProperly();
        if (!pending) {
            // An active schedule (or one not read) cannot take it: the panel goes on
            // showing that schedule, and the choice waits for the next Add.
            schedule.ShowSelectedEntry(false);
            return;
        }
    }

    // The base is the selected entry's start, or the start Add proposed. A
    // proposal past what the device holds leaves the start and stop as they are.
    const zrn::StartStop proposal = zrn::ProposeStartStop(preset, schedule.BaseStart());
    const bool holds = zrn::DeviceHolds(proposal.tStart) && zrn::DeviceHolds(proposal.tStop);
    if (!holds)
        host.AppendLog(
            "The ZRN holds dates from 01/01/2000 to 12/31/2037 only: start and stop kept");
    schedule.SetStartStop(holds ? proposal : schedule.EditStartStop());
    Window().UpdateData(false);

    if (schedule.SelectedNotActive()) {
        schedule.SetEditPending();
        schedule.SaveActiveEntry();
    }
}

void IntervalPanel::OnBnClickedRadioCustom() {
    // Custom starts from the 15-minute values, start and stop included.
    ApplyIntervalPreset(*zrn::FindIntervalPreset(zrn::PRESET_15MIN));
    nIntervalPreset = zrn::PRESET_CUSTOM;
    const bool selected = schedule.HasSelection();
    if (selected)
        EnableCustomPickers(schedule.PendIfEditable());
    SetRadioBoxParameters(); // only traces: custom has no section
    if (selected) {
        schedule.PendIfEditable();
        schedule.SetZrnButtonProperly();
    }
    Window().UpdateData(false);
}

void IntervalPanel::OnCustomTimingChange(Notify& n) {
    zrn::CustomPicker which = zrn::CustomPicker::Interval;
    switch (n.id) {
    case IDC_OPEN_VALVE:
        which = zrn::CustomPicker::OpenValve;
        break;
    case IDC_SAMPLE_HOLDING:
        which = zrn::CustomPicker::SampleHolding;
        break;
    case IDC_PUMP_ON:
        which = zrn::CustomPicker::PumpOn;
        break;
    default:
        break;
    }
    const zrn::CustomPickerChange change =
        zrn::CustomTimingChange(which, n.hour, n.minute, n.second);
    host.AppendLog(change.strLog);
    schedule.SetSpan(which, change.ts);
    Window().UpdateData(true);
    schedule.SetEditPending();
    schedule.SetZrnButtonProperly();
    if (change.bSaves)
        schedule.SaveActiveEntry();
    n.result = 0;
}

void IntervalPanel::SelectIntervalRadio() {
    const std::string text = zrn::IntervalText(
        zrn::TimeOfDayFromOle(Window().Item<DateTimePicker>(IDC_INTERVAL)->OleDate()));
    // A custom choice stays custom while the operator moves between entries.
    const int radio = Window().IsDlgButtonChecked(IDC_RADIO_CUSTOM) != 0
                          ? IDC_RADIO_CUSTOM
                          : RadioOf(zrn::IntervalPresetFor(text));
    CheckIntervalRadio(radio);
    if (radio == IDC_RADIO_CUSTOM)
        EnableCustomPickers(schedule.SelectedNotActive() ? 1 : 0);
}

void IntervalPanel::CheckIntervalRadio(int id) {
    for (int radio = IDC_RADIO_15MIN; radio <= IDC_RADIO_CUSTOM; ++radio)
        Window().CheckDlgButton(radio, 0);
    Window().CheckDlgButton(id, 1);
}

void IntervalPanel::ReapplyIntervalPreset(int index) {
    nIntervalPreset = index;
    if (zrn::FindIntervalPreset(index) != nullptr) {
        for (int id : kCustomPickers)
            Window().EnableItem(id, false);
    } else if (index == zrn::PRESET_CUSTOM && schedule.HasSelection()) {
        EnableCustomPickers(schedule.PendIfEditable());
    }
    SetRadioBoxParameters();
    if (schedule.HasSelection()) {
        schedule.PendIfEditable();
        schedule.SetZrnButtonProperly();
    }
}

void IntervalPanel::EnableCustomPickers(int flag) {
    const bool enable = flag == 1 && schedule.HasSelection();
    for (int id : kCustomPickers)
        Window().EnableItem(id, enable);
}

// Interval presets and the custom timing pickers.
IntervalPanel::Rows IntervalPanel::EventRows() {
    using D = IntervalPanel;
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
