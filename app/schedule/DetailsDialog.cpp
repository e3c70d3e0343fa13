// The schedule details dialog.
#include "schedule/DetailsDialog.h"

#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "schedule/EntryDetails.h"
#include "schedule/SchedulePanel.h"

using namespace win;

namespace {

constexpr unsigned RO = ES_READONLY;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::GroupBox, "Schedule Details", 7, 7, 227, 130},
    {IDOK, ControlKind::Button, "OK", 180, 17, 50, 14, BS_DEFPUSHBUTTON},
    {IDC_PROP_STATUS, ControlKind::Edit, "", 85, 18, 60, 14, RO},
    {IDC_STATIC, ControlKind::Static, "Start Date:", 16, 47, 60, 8},
    {IDC_PROP_START_DATE, ControlKind::Edit, "", 84, 44, 60, 14, RO},
    {IDC_PROP_START_TIME, ControlKind::Edit, "", 166, 44, 60, 14, RO},
    {IDC_STATIC, ControlKind::Static, "Stop Date:", 16, 64, 60, 8},
    {IDC_PROP_STOP_DATE, ControlKind::Edit, "", 84, 61, 60, 14, RO},
    {IDC_PROP_STOP_TIME, ControlKind::Edit, "", 166, 61, 60, 14, RO},
    {IDC_STATIC, ControlKind::Static, "Interval", 16, 96, 50, 8},
    {IDC_PROP_INTERVAL, ControlKind::Edit, "", 68, 93, 50, 14, RO},
    {IDC_STATIC, ControlKind::Static, "Sample Holding", 11, 118, 56, 8},
    {IDC_PROP_SAMPLE_HOLDING, ControlKind::Edit, "", 68, 115, 50, 14, RO},
    {IDC_STATIC, ControlKind::Static, "Open Valve", 126, 97, 46, 8},
    {IDC_PROP_OPEN_VALVE, ControlKind::Edit, "", 174, 94, 44, 14, RO},
    {IDC_STATIC, ControlKind::Static, "Pump ON", 126, 118, 46, 8},
    {IDC_PROP_PUMP_ON, ControlKind::Edit, "", 174, 115, 44, 14, RO},
};
constexpr DialogTemplate kTemplate{IDD_SCHEDULE_DETAILS, "Dialog", 242,      142,
                                   "MS Shell Dlg",       8,        kControls};

} // namespace

CZRNcomProp::CZRNcomProp(SchedulePanel& schedule)
    : CDialog(kTemplate, &schedule.Host().Window()), schedule(schedule) {}

namespace {

// Each box and the text it shows.
struct DetailBox {
    int id;
    std::string zrn::EntryDetailsTexts::*text;
};
constexpr DetailBox kBoxes[] = {
    {IDC_PROP_STATUS, &zrn::EntryDetailsTexts::strStatus},
    {IDC_PROP_START_DATE, &zrn::EntryDetailsTexts::strStartDate},
    {IDC_PROP_START_TIME, &zrn::EntryDetailsTexts::strStartTime},
    {IDC_PROP_STOP_DATE, &zrn::EntryDetailsTexts::strStopDate},
    {IDC_PROP_STOP_TIME, &zrn::EntryDetailsTexts::strStopTime},
    {IDC_PROP_INTERVAL, &zrn::EntryDetailsTexts::strInterval},
    {IDC_PROP_OPEN_VALVE, &zrn::EntryDetailsTexts::strOpenValve},
    {IDC_PROP_SAMPLE_HOLDING, &zrn::EntryDetailsTexts::strSampleHolding},
    {IDC_PROP_PUMP_ON, &zrn::EntryDetailsTexts::strPumpOn},
};

} // namespace

bool CZRNcomProp::OnInitDialog() {
    texts = zrn::FormatEntryDetails(schedule.sched.selected);
    CDialog::OnInitDialog(); // shows the texts in the edits
    // The boxes without a label of their own, for screen readers.
    SetAccessibleName(IDC_PROP_STATUS, "Status");
    SetAccessibleName(IDC_PROP_START_TIME, "Start Time");
    SetAccessibleName(IDC_PROP_STOP_TIME, "Stop Time");
    return true;
}

void CZRNcomProp::DoDataExchange(DataExchange& dx) {
    for (const DetailBox& box : kBoxes)
        dx.Text(box.id, texts.*box.text);
}

void SchedulePanel::OnBnClickedButtonProperties() {
    DebugTrace("ZRNcom/OnBnClickedButtonProperties; entry\n");
    CZRNcomProp details(*this);
    details.DoModal();
}
