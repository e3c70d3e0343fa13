// The main dialog: construction, the event table, initialisation, the button
// rule and the shell's own handlers.
#include "shell/ZRNcomDlg.h"

#include "platform/CommandLine.h"
#include "platform/DebugOutput.h"
#include "platform/LinkWindow.h"
#include "platform/PcClock.h"
#include "platform/Profile.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "schedule/ScheduleRules.h"
#include "shell/Resource.h"
#include "shell/Resources.h"

#include <QTabBar>
#include <ctime>

using namespace win;

struct CZRNcomDlgEvents {
    using D = CZRNcomDlg;
    // Every window message and control notification the dialog handles.
    static constexpr EventEntry<D> table[] = {
        {kWindow, WM_SYSCOMMAND, &D::OnSysCommand},
        {kWindow, WM_TIMER, &D::OnTimer},
        {kWindow, WM_SHOWWINDOW, &D::OnShowWindow},
        {kWindow, WM_ZRN_LINK, &D::OnLinkNotify},
        {kWindow, WM_ZRNCOMDLGSETINTERVALS, &D::OnSetIntervals},
        {IDOK, BN_CLICKED, &D::OnOK},
        {IDCANCEL, BN_CLICKED, &D::OnCancel},
        // Schedule list
        {IDC_LIST_CTRL, NM_CLICK, &D::OnClickListCtrl},
        {IDC_LIST_CTRL, NM_RCLICK, &D::OnRclickListCtrl},
        {IDC_LIST_CTRL, NM_DBLCLK, &D::OnNmDoubleClickListCtrl},
        {IDC_LIST_CTRL, LVN_ITEMACTIVATE, &D::OnLvnItemActivateListCtrl},
        {IDC_LIST_CTRL, LVN_ITEMCHANGED, &D::OnNotifyHandled},
        // Device clock
        {IDC_ZRN_DATE, NM_SETFOCUS, &D::OnSetfocusZrnPicker},
        {IDC_ZRN_DATE, NM_KILLFOCUS, &D::OnKillfocusZrnDate},
        {IDC_ZRN_DATE, DTN_DROPDOWN, &D::OnDropdownZrnDate},
        {IDC_ZRN_DATE, DTN_CLOSEUP, &D::OnCloseupZrnDate},
        {IDC_ZRN_DATE, DTN_DATETIMECHANGE, &D::OnDatetimechangeZrnDate},
        {IDC_ZRN_DATE, DTN_WMKEYDOWN, &D::OnNotifyHandled},
        {IDC_ZRN_TIME, NM_SETFOCUS, &D::OnSetfocusZrnPicker},
        {IDC_ZRN_TIME, NM_KILLFOCUS, &D::OnKillfocusZrnTime},
        {IDC_ZRN_TIME, DTN_DATETIMECHANGE, &D::OnDatetimechangeZrnTime},
        {IDC_ZRN_DATE_TEXT, EN_SETFOCUS, &D::OnSetfocusZrnDateText},
        {IDC_ZRN_TIME_TEXT, EN_SETFOCUS, &D::OnSetfocusZrnTimeText},
        {IDC_CANCEL_CLOCK_EDIT, BN_CLICKED, &D::OnBnClickedCancelClockEdit},
        {IDC_UPDATE_ZRN_CLOCK, BN_CLICKED, &D::OnBnClickedUpdateZrnClock},
        {IDC_SYNC_ZRN_CLOCK, BN_CLICKED, &D::OnBnClickedSyncZrnClock},
        // Start and stop of the edited entry
        {IDC_START_DATE, DTN_DATETIMECHANGE, &D::OnStartDateChange},
        {IDC_START_DATE, DTN_CLOSEUP, &D::OnStartDateCloseup},
        {IDC_START_DATE, DTN_DROPDOWN, &D::OnStartDateDropdown},
        {IDC_START_DATE, NM_SETFOCUS, &D::OnStartDateSetfocus},
        {IDC_START_TIME, DTN_DATETIMECHANGE, &D::OnStartTimeChange},
        {IDC_STOP_TIME, DTN_DATETIMECHANGE, &D::OnStopTimeChange},
        {IDC_STOP_DATE, DTN_DATETIMECHANGE, &D::OnStopDateChange},
        {IDC_STOP_DATE, DTN_CLOSEUP, &D::OnStopDateCloseup},
        {IDC_STOP_DATE, DTN_DROPDOWN, &D::OnStopDateDropdown},
        {IDC_START_DATE, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_START_TIME, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_STOP_DATE, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_STOP_TIME, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_INTERVAL, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_SAMPLE_HOLDING, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_OPEN_VALVE, NM_KILLFOCUS, &D::OnNotifyHandled},
        {IDC_PUMP_ON, NM_KILLFOCUS, &D::OnNotifyHandled},
        // Interval presets and custom timing
        {IDC_RADIO_15MIN, BN_CLICKED, &D::OnBnClickedRadio15Min},
        {IDC_RADIO_30MIN, BN_CLICKED, &D::OnBnClickedRadio30Min},
        {IDC_RADIO_1HOUR, BN_CLICKED, &D::OnBnClickedRadio1Hour},
        {IDC_RADIO_24HOURS, BN_CLICKED, &D::OnBnClickedRadio24Hours},
        {IDC_RADIO_CUSTOM, BN_CLICKED, &D::OnBnClickedRadioCustom},
        {IDC_INTERVAL, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        {IDC_SAMPLE_HOLDING, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        {IDC_OPEN_VALVE, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        {IDC_PUMP_ON, DTN_DATETIMECHANGE, &D::OnCustomTimingChange},
        // Schedule transfer and editing
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
        // Status queries below the visible area
        {IDC_BUTTON_CLOCK, BN_CLICKED, &D::OnBnClickedButtonClock},
        {IDC_BUTTON_VOLTAGES, BN_CLICKED, &D::OnBnClickedButtonVoltages},
        {IDC_BUTTON_VERSION, BN_CLICKED, &D::OnBnClickedButtonVersion},
        // SDI-12 settings
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
        // Shell
        {IDC_BANNER, STN_CLICKED, &D::OnStnClickedBanner},
        {IDC_CHECK, BN_CLICKED, &D::OnBnClickedCheck},
        {IDC_CLEAR_LOG, BN_CLICKED, &D::OnBnClickedClearLog},
        {IDC_GET_SELECTED, BN_CLICKED, &D::OnBnClickedGetSelected},
        {IDC_EXIT, BN_CLICKED, &D::OnBnClickedExit},
    };
};

void TraceNotYet(const char* handler) {
    DebugTrace("ZRNcom/%s; not available yet\n", handler);
}

bool CZRNcomDlg::OnMessage(Notify& n) {
    return Dispatch<CZRNcomDlg>(*this, CZRNcomDlgEvents::table, n);
}

CZRNcomDlg::CZRNcomDlg(std::string_view commandLine, QWidget* parent)
    : CDialog(kMainDialogTemplate, parent) {
    // The pickers show the current time until the device is read.
    const int64_t now = PcTime();
    tZrnDatePicker = tZrnTimePicker = now;
    tStartDatePicker = tStartTimePicker = now;
    tStopDatePicker = tStopTimePicker = now;
    odtInterval = odtOpenValve = odtSampleHolding = odtPumpOn = 0; // 00:00:00

    hIcon = ProgramIcon();

    // The traffic log is switched exactly once, on or off, before any port opens.
    bEditSdiInfo = zrn::HasSwitch(commandLine, zrn::SWITCH_EDIT_SDI_INFO);
    bLogComm = zrn::HasSwitch(commandLine, zrn::SWITCH_LOG_COMM);
    Link().log(bLogComm);
    bNoScanCommPorts = zrn::HasSwitch(commandLine, zrn::SWITCH_NO_SCAN_COMM_PORTS);

    strIniFile = zrn::INI_FILE;
    sched.nDaylightFlag = -1;
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    sched.bEditPending = 0;
    ReadFileVersion();

    LinkWindow::Instance().Attach(this, [this](unsigned msg, uintptr_t wParam, intptr_t lParam) {
        return SendMessage(kWindow, static_cast<int>(msg), wParam, lParam);
    });
}

CZRNcomDlg::~CZRNcomDlg() {
    // From here on the link's worker gets its answer at once.
    LinkWindow::Instance().Detach(this);
}

void CZRNcomDlg::DoDataExchange(DataExchange& dx) {
    dx.Text(IDC_SDI_ADDRESS, strSdiAddress);
    dx.Text(IDC_SDI_DELAY, strSdiDelay);
    dx.DateTime(IDC_ZRN_DATE, tZrnDatePicker);
    dx.DateTime(IDC_ZRN_TIME, tZrnTimePicker);
    dx.DateTime(IDC_START_DATE, tStartDatePicker);
    dx.DateTime(IDC_START_TIME, tStartTimePicker);
    dx.DateTime(IDC_STOP_DATE, tStopDatePicker);
    dx.DateTime(IDC_STOP_TIME, tStopTimePicker);
    dx.OleTime(IDC_INTERVAL, odtInterval);
    dx.OleTime(IDC_OPEN_VALVE, odtOpenValve);
    dx.OleTime(IDC_SAMPLE_HOLDING, odtSampleHolding);
    dx.OleTime(IDC_PUMP_ON, odtPumpOn);
    dx.Check(IDC_CHECK, nCheck);
    dx.Int(IDC_SELECT_ITEM, nSelectItem, 0, 32257);
    dx.Int(IDC_NUMBER_OF_ITEMS, nNumberOfItems, 0, 32567);
}

QPixmap CZRNcomDlg::LoadImageResource(int id, QSize size) const {
    return LoadBitmap(id, size);
}

bool CZRNcomDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RefuseFocus(IDC_LOG);
    DebugTrace("ZRNcom/OnInitDialog; Entry\n");

    // Window menu
    if (!LoadString(IDS_ABOUTBOX).empty()) {
        WindowMenu& menu = GetSystemMenu();
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_SDI_INFO, LoadString(IDS_SDI_INFO));
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_ZRN_CONNECT, LoadString(IDS_ZRN_CONNECT));
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_ABOUTBOX, LoadString(IDS_ABOUTBOX));
    }
    sched.table = {};
    setWindowIcon(hIcon);

    // Schedule list: report view, one row at a time, grid lines, whole rows.
    ListView* list = Item<ListView>(IDC_LIST_CTRL);
    list->SetStyle(list->GetStyle() | LVS_REPORT | LVS_SHOWSELALWAYS);
    list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);

    sched.bScheduleReady = 0;
    bDateDropDown = bStartDropDown = bStopDropDown = 0;
    for (int id : {IDC_ZRN_TIME, IDC_START_TIME, IDC_STOP_TIME, IDC_INTERVAL, IDC_SAMPLE_HOLDING,
                   IDC_OPEN_VALVE, IDC_PUMP_ON})
        Item<DateTimePicker>(id)->SetTimeStyle();

    auto* tab = Item<QTabBar>(IDC_TAB);
    for (const char* label : {"Icon", "Small Icon", "List", "Details"})
        tab->addTab(QString::fromLatin1(label));

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

    ShowVoltages();
    ShowPcClock();

    Item<DateTimePicker>(IDC_INTERVAL)->SetFormat("H:mm:ss");
    for (int id : {IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        Item<DateTimePicker>(id)->SetFormat("mm:ss");

    bSyncToPc = 0;
    if (!SetTimer(TIMER_ONE_SEC, 1000))
        DebugTrace("ZRNcom/OnStartOneSecTimer; ERROR in TIMER_ONE_SEC timer\n");
    OnStartPollingTimer();

    for (int id : {IDC_START_DATE, IDC_START_TIME, IDC_STOP_DATE, IDC_STOP_TIME, IDC_INTERVAL,
                   IDC_SAMPLE_HOLDING, IDC_OPEN_VALVE, IDC_PUMP_ON})
        EnableItem(id, false);

    nIntervalPreset = 0;
    SetRadioBoxParameters();
    SetZrnButtonProperly();
    return true;
}

int CZRNcomDlg::SetZrnButtonProperly() {
    const int C = Item<ListView>(IDC_LIST_CTRL)->GetItemCount();
    const int S = sched.nSelectedRow;
    const bool V = zrn::ValidateDateTimeStop(sched.table, zrn::SelectedEntryIndex(sched), tZrnClock,
                                             sched.tEditStart, sched.tEditStop, sched.nDaylightFlag,
                                             [this](std::string_view line) { AppendLog(line); }) ==
                   zrn::VALID_START_STOP;

    if (sched.bEditPending == 1) {
        const bool canSave = V && C > 0 && S != -1;
        EnableItem(IDC_BUTTON_SAVE, canSave);
        EnableItem(IDC_BUTTON_DISCARD, canSave);
        for (int id : {IDC_BUTTON_PROPERTIES, IDC_BUTTON_ENABLE, IDC_BUTTON_DISABLE,
                       IDC_UPDATE_ZRN_CLOCK, IDC_SYNC_ZRN_CLOCK})
            EnableItem(id, false);
    } else {
        EnableItem(IDC_BUTTON_PROPERTIES, true);
        EnableItem(IDC_BUTTON_SAVE, false);
        EnableItem(IDC_BUTTON_DISCARD, false);
        EnableItem(IDC_UPDATE_ZRN_CLOCK, true);
        EnableItem(IDC_SYNC_ZRN_CLOCK, true);
        EnableItem(IDC_SCHEDULE_REFRESH, true);

        bool activate = false;
        bool deactivate = false;
        if (S != -1) {
            const int E = zrn::SelectedEntryIndex(sched);
            if (E == -1) {
                DebugTrace("ZRNcom/SetZrnButtonProperly; nSelectedEntry is -1\n");
            } else {
                const char status = static_cast<char>(sched.table[static_cast<size_t>(E)].chStatus);
                activate = status != zrn::STATUS_EMPTY && status != zrn::STATUS_ACTIVE && V;
                deactivate = status == zrn::STATUS_ACTIVE;
            }
        }
        EnableItem(IDC_BUTTON_ENABLE, activate);
        EnableItem(IDC_BUTTON_DISABLE, deactivate);
    }

    EnableItem(IDC_BUTTON_DELETE, C > 0);
    EnableItem(IDC_BUTTON_CLEAR_ALL, C > 0);
    EnableItem(IDC_BUTTON_ADD,
               C == 0 || (sched.bEditPending == 0 && C < zrn::SCHEDULE_ENTRY_COUNT));
    return 1;
}

void CZRNcomDlg::OnSysCommand(Notify& n) {
    switch (n.wParam) {
    case IDM_ABOUTBOX:
        OnAboutBox();
        return;
    case IDM_SDI_INFO:
        OnSdiInformation();
        return;
    case IDM_ZRN_CONNECT:
        OnZrnConnect();
        return;
    default:
        if ((n.wParam & SC_MASK) == SC_CLOSE)
            EndDialog(IDCANCEL);
    }
}

void CZRNcomDlg::OnNotifyHandled(Notify& n) {
    n.result = 0;
}

void CZRNcomDlg::OnBnClickedExit() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CZRNcomDlg::OnBnClickedCheck() {
    UpdateData(true);
}

void CZRNcomDlg::OnBnClickedClearLog() {
    SetDlgItemText(IDC_LOG, "");
}

void CZRNcomDlg::OnBnClickedGetSelected() {
    const std::vector<int> rows = Item<ListView>(IDC_LIST_CTRL)->SelectedRows();
    if (rows.empty()) {
        AppendLog("There are no selected items");
        return;
    }
    std::string line = "Selected items:";
    for (int row : rows)
        line += " " + std::to_string(row);
    AppendLog(line);
}
