// The main dialog: construction, the event table, initialisation, the button
// rule and the shell's own handlers.
#include "shell/ZRNcomDlg.h"

#include "model/ScheduleRules.h"
#include "model/Settings.h"
#include "platform/CommandLine.h"
#include "platform/DebugOutput.h"
#include "platform/LinkWindow.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "resources/Resources.h"
#include "shell/AccessibleNames.h"
#include "shell/ButtonRule.h"
#include "shell/LogNote.h"

#include <ctime>

using namespace win;

// The shell's own rows: window menu, Enter and Escape, the log box buttons.
CZRNcomDlgEvents::Rows CZRNcomDlgEvents::Shell() {
    using D = CZRNcomDlg;
    static constexpr EventEntry<D> rows[] = {
        {kWindow, WM_SYSCOMMAND, &D::OnSysCommand},
        {IDOK, BN_CLICKED, &D::OnOK},
        {IDCANCEL, BN_CLICKED, &D::OnCancel},
        {IDC_BANNER, STN_CLICKED, &D::OnStnClickedBanner},
        {IDC_CHECK, BN_CLICKED, &D::OnBnClickedCheck},
        {IDC_CLEAR_LOG, BN_CLICKED, &D::OnBnClickedClearLog},
        {IDC_GET_SELECTED, BN_CLICKED, &D::OnBnClickedGetSelected},
        {IDC_EXIT, BN_CLICKED, &D::OnBnClickedExit},
    };
    return rows;
}

std::span<const CZRNcomDlgEvents::Rows> CZRNcomDlgEvents::All() {
    static const Rows tables[] = {Shell(), Protocol(), Schedule(), Intervals()};
    return tables;
}

void TraceNotYet(const char* handler) {
    DebugTrace("ZRNcom/%s; not available yet\n", handler);
}

bool CZRNcomDlg::OnMessage(Notify& n) {
    if (Dispatch<CZRNcomDlg>(*this, CZRNcomDlgEvents::All(), n))
        return true;
    for (Panel* panel : Panels())
        if (panel->OnMessage(n))
            return true;
    return false;
}

CZRNcomDlg::CZRNcomDlg(std::string_view commandLine, CWnd* parent)
    : CDialog(kMainDialogTemplate, parent) {
    // The pickers show the current time until the device is read.
    const int64_t now = PcTime();
    tStartDatePicker = tStartTimePicker = now;
    tStopDatePicker = tStopTimePicker = now;
    odtInterval = odtOpenValve = odtSampleHolding = odtPumpOn = 0; // 00:00:00

    hIcon = ProgramIcon();

    // The traffic log is switched exactly once, on or off, before any port opens.
    bEditSdiInfo = zrn::HasSwitch(commandLine, zrn::SWITCH_EDIT_SDI_INFO);
    settings.sdiInfoDlg.bEditable = bEditSdiInfo ? 1 : 0;
    bLogComm = zrn::HasSwitch(commandLine, zrn::SWITCH_LOG_COMM);
    bLogOpen = Link().log(bLogComm);
    bNoScanCommPorts = zrn::HasSwitch(commandLine, zrn::SWITCH_NO_SCAN_COMM_PORTS);

    strIniFile = zrn::INI_FILE;
    sched.nDaylightFlag = -1;
    sched.nSelectedRow = zrn::NO_SELECTABLE_ACTIVE_ENTRY;
    sched.bEditPending = 0;
    ReadFileVersion();

    RegisterReplies();
    AttachLink(*this);
}

CZRNcomDlg::~CZRNcomDlg() {
    // From here on the link's worker gets its answer at once.
    DetachLink(*this);
}

void CZRNcomDlg::DoDataExchange(DataExchange& dx) {
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
    for (Panel* panel : Panels())
        panel->DoDataExchange(dx);
}

Bitmap CZRNcomDlg::LoadImageResource(int id, Size size) const {
    return LoadBitmap(id, size);
}

bool CZRNcomDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RefuseFocus(IDC_LOG);
    // Polling writes lines all day: memory stays flat with the newest only.
    LimitLines(IDC_LOG, LOG_LINES_KEPT);
    DebugTrace("ZRNcom/OnInitDialog; Entry\n");
    NameUnlabelledControls(*this);
    if (bLogComm)
        AppendLog(zrn::TrafficLogNote(bLogOpen != 0));

    // Window menu
    if (!LoadString(IDS_ABOUTBOX).empty()) {
        WindowMenu& menu = GetSystemMenu();
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_SDI_INFO, LoadString(IDS_SDI_INFO));
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_ZRN_CONNECT, LoadString(IDS_ZRN_CONNECT));
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_ABOUTBOX, LoadString(IDS_ABOUTBOX));
        menu.AppendMenu(MF_SEPARATOR, 0, {});
        menu.AppendMenu(MF_STRING, IDM_EXPORT_SCHEDULES, LoadString(IDS_EXPORT_SCHEDULES));
        menu.AppendMenu(MF_STRING, IDM_IMPORT_SCHEDULES, LoadString(IDS_IMPORT_SCHEDULES));
    }
    sched.table = {};
    SetIcon(hIcon);

    sched.bScheduleReady = 0;
    bStartDropDown = bStopDropDown = 0;
    for (int id : {IDC_ZRN_TIME, IDC_START_TIME, IDC_STOP_TIME, IDC_INTERVAL, IDC_SAMPLE_HOLDING,
                   IDC_OPEN_VALVE, IDC_PUMP_ON})
        Item<DateTimePicker>(id)->SetTimeStyle();

    for (const char* label : {"Icon", "Small Icon", "List", "Details"})
        AddTab(IDC_TAB, label);

    InitScheduleList();

    for (Panel* panel : Panels())
        panel->OnInitDialog();

    if (!SetTimer(TIMER_ONE_SEC, 1000))
        DebugTrace("ZRNcom/OnStartOneSecTimer; ERROR in TIMER_ONE_SEC timer\n");
    OnStartPollingTimer();

    InitIntervalPanel();
    SetZrnButtonProperly();
    return true;
}

int CZRNcomDlg::SetZrnButtonProperly() {
    zrn::ButtonInputs in;
    in.nItemCount = Item<ListView>(IDC_LIST_CTRL)->GetItemCount();
    in.nSelectedRow = sched.nSelectedRow;
    in.nSelectedEntry = zrn::SelectedEntryIndex(sched);
    if (in.nSelectedEntry != -1)
        in.chSelectedStatus =
            static_cast<char>(sched.table[static_cast<size_t>(in.nSelectedEntry)].chStatus);
    in.bEditPending = sched.bEditPending;
    in.bValidStartStop =
        zrn::ValidateDateTimeStop(sched.table, in.nSelectedEntry, clock.tZrnClock, sched.tEditStart,
                                  sched.tEditStop, sched.nDaylightFlag,
                                  [this](std::string_view line) { AppendLog(line); }) ==
        zrn::VALID_START_STOP;

    const zrn::ButtonStates out = zrn::ComputeButtonStates(in);
    if (out.bSelectedWithoutEntry)
        DebugTrace("ZRNcom/SetZrnButtonProperly; nSelectedEntry is -1\n");
    EnableItem(IDC_BUTTON_SAVE, out.bSave);
    EnableItem(IDC_BUTTON_DISCARD, out.bDiscard);
    EnableItem(IDC_BUTTON_PROPERTIES, out.bProperties);
    EnableItem(IDC_BUTTON_ENABLE, out.bEnable);
    EnableItem(IDC_BUTTON_DISABLE, out.bDisable);
    EnableItem(IDC_UPDATE_ZRN_CLOCK, out.bUpdateClock);
    EnableItem(IDC_SYNC_ZRN_CLOCK, out.bSyncClock);
    if (out.bScheduleRefresh)
        EnableItem(IDC_SCHEDULE_REFRESH, *out.bScheduleRefresh);
    EnableItem(IDC_BUTTON_DELETE, out.bDelete);
    EnableItem(IDC_BUTTON_CLEAR_ALL, out.bClearAll);
    EnableItem(IDC_BUTTON_ADD, out.bAdd);
    return 1;
}

void CZRNcomDlg::OnSysCommand(Notify& n) {
    switch (n.wParam) {
    case IDM_ABOUTBOX:
        OnAboutBox();
        return;
    case IDM_SDI_INFO:
        settings.OnSdiInformation();
        return;
    case IDM_ZRN_CONNECT:
        ports.OnZrnConnect();
        return;
    case IDM_EXPORT_SCHEDULES:
        planFiles.OnExportSchedules();
        return;
    case IDM_IMPORT_SCHEDULES:
        planFiles.OnImportSchedules();
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
