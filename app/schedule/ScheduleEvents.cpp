// The schedule panel's rows of the dialog's event table, its start-up and its
// data exchange.
#include "platform/Win.h"
#include "resources/Resource.h"
#include "schedule/SchedulePanel.h"

using namespace win;

// List notifications, start and stop pickers, buttons and context-menu commands.
SchedulePanel::Rows SchedulePanel::EventRows() {
    using D = SchedulePanel;
    static constexpr EventEntry<D> rows[] = {
        {IDC_LIST_CTRL, NM_CLICK, &D::OnClickListCtrl},
        {IDC_LIST_CTRL, NM_RCLICK, &D::OnRclickListCtrl},
        {IDC_LIST_CTRL, NM_DBLCLK, &D::OnNmDoubleClickListCtrl},
        {IDC_LIST_CTRL, LVN_ITEMACTIVATE, &D::OnLvnItemActivateListCtrl},
        {IDC_LIST_CTRL, LVN_ITEMCHANGED, &D::OnNotifyHandled},
        {IDC_LIST_CTRL, LVN_KEYSELECT, &D::OnKeySelectListCtrl},
        {IDC_START_DATE, DTN_DATETIMECHANGE, &D::OnDateChange},
        {IDC_START_DATE, DTN_CLOSEUP, &D::OnDateCloseup},
        {IDC_START_DATE, DTN_DROPDOWN, &D::OnDateDropdown},
        {IDC_START_DATE, NM_SETFOCUS, &D::OnStartDateSetfocus},
        {IDC_START_TIME, DTN_DATETIMECHANGE, &D::OnStartTimeChange},
        {IDC_STOP_TIME, DTN_DATETIMECHANGE, &D::OnStopTimeChange},
        {IDC_STOP_DATE, DTN_DATETIMECHANGE, &D::OnDateChange},
        {IDC_STOP_DATE, DTN_CLOSEUP, &D::OnDateCloseup},
        {IDC_STOP_DATE, DTN_DROPDOWN, &D::OnDateDropdown},
        {IDC_START_DATE, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_START_TIME, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_STOP_DATE, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_STOP_TIME, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_SCHEDULE_REFRESH, BN_CLICKED, &D::OnBnClickedScheduleRefresh},
        {IDC_BUTTON_DISCARD, BN_CLICKED, &D::OnBnClickedScheduleRefresh},
        {IDC_BUTTON_ADD, BN_CLICKED, &D::OnBnClickedButtonAdd},
        {ID_ENTRY_ADD, BN_CLICKED, &D::OnBnClickedButtonAdd},
        {IDC_BUTTON_DELETE, BN_CLICKED, &D::OnBnClickedButtonDelete},
        {ID_ENTRY_DELETE, BN_CLICKED, &D::OnBnClickedButtonDelete},
        {IDC_BUTTON_ENABLE, BN_CLICKED, &D::OnBnClickedButtonEnable},
        {ID_ENTRY_ACTIVATE, BN_CLICKED, &D::OnBnClickedButtonEnable},
        {IDC_BUTTON_DISABLE, BN_CLICKED, &D::OnBnClickedButtonDisable},
        {ID_ENTRY_DEACTIVATE, BN_CLICKED, &D::OnBnClickedButtonDisable},
        {IDC_BUTTON_SAVE, BN_CLICKED, &D::OnBnClickedButtonSave},
        {IDC_BUTTON_CLEAR_ALL, BN_CLICKED, &D::OnBnClickedButtonClearAll},
        {IDC_BUTTON_PROPERTIES, BN_CLICKED, &D::OnBnClickedButtonProperties},
        {ID_ENTRY_PROPERTIES, BN_CLICKED, &D::OnBnClickedButtonProperties},
        {ID_ENTRY_TEST_DISABLED, BN_CLICKED, &D::OnEntryTest},
        {ID_ENTRY_TEST_ENABLED, BN_CLICKED, &D::OnEntryTest},
        {IDC_BUTTON_SCHEDULE, BN_CLICKED, &D::OnBnClickedButtonSchedule},
    };
    return rows;
}

void SchedulePanel::OnInitDialog() {
    sched.table = {};
    sched.bScheduleReady = 0;
    bStartDropDown = bStopDropDown = 0;
    for (int id : {IDC_START_TIME, IDC_STOP_TIME, IDC_INTERVAL, IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE,
                   IDC_PUMP_ON})
        Window().Item<DateTimePicker>(id)->SetTimeStyle();
    InitScheduleList();
}

void SchedulePanel::DoDataExchange(DataExchange& dx) {
    dx.DateTime(IDC_START_DATE, tStartDatePicker);
    dx.DateTime(IDC_START_TIME, tStartTimePicker);
    dx.DateTime(IDC_STOP_DATE, tStopDatePicker);
    dx.DateTime(IDC_STOP_TIME, tStopTimePicker);
    dx.OleTime(IDC_INTERVAL, odtInterval);
    dx.OleTime(IDC_OPEN_VALVE, odtOpenValve);
    dx.OleTime(IDC_SAMPLE_HOLDING, odtSampleHolding);
    dx.OleTime(IDC_PUMP_ON, odtPumpOn);
}
