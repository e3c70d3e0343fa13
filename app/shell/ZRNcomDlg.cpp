// The main dialog: construction, the event table, initialisation and the
// shell's own handlers.
#include "shell/ZRNcomDlg.h"

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
#include "shell/LogNote.h"

#include <ctime>

using namespace win;

// The dialog's own rows: window menu, Enter and Escape, the log box buttons,
// the timers and the link notification.
CZRNcomDlgEvents::Rows CZRNcomDlgEvents::All() {
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
        {kWindow, WM_TIMER, &D::OnTimer},
        {kWindow, WM_ZRN_LINK, &D::OnLinkNotify},
    };
    return rows;
}

bool CZRNcomDlg::OnMessage(Notify& n) {
    if (Dispatch<CZRNcomDlg>(*this, CZRNcomDlgEvents::All(), n))
        return true;
    for (Panel* panel : panels.All())
        if (panel->OnMessage(n))
            return true;
    return false;
}

CZRNcomDlg::CZRNcomDlg(std::string_view commandLine, CWnd* parent)
    : CDialog(kMainDialogTemplate, parent) {
    hIcon = ProgramIcon();

    // The traffic log is switched exactly once, on or off, before any port opens.
    const zrn::StartupSwitches switches = zrn::ReadStartupSwitches(commandLine);
    options.bEditSdiInfo = switches.bEditSdiInfo;
    panels.settings.AllowSdiInfoEdit(options.bEditSdiInfo);
    options.bLogComm = switches.bLogComm;
    options.bLogOpen = Link().log(options.bLogComm);
    options.bNoScanCommPorts = switches.bNoScanCommPorts;

    options.strIniFile = zrn::INI_FILE;
    ReadFileVersion();

    for (Panel* panel : panels.All())
        panel->RegisterReplies(replies);
    AttachLink(*this);
}

CZRNcomDlg::~CZRNcomDlg() {
    // From here on the link's worker gets its answer at once.
    DetachLink(*this);
}

void CZRNcomDlg::DoDataExchange(DataExchange& dx) {
    dx.Check(IDC_CHECK, controls.nCheck);
    dx.Int(IDC_SELECT_ITEM, controls.nSelectItem, 0, 32257);
    dx.Int(IDC_NUMBER_OF_ITEMS, controls.nNumberOfItems, 0, 32567);
    for (Panel* panel : panels.All())
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
    if (options.bLogComm)
        AppendLog(zrn::TrafficLogNote(options.bLogOpen != 0));

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
    SetIcon(hIcon);
    for (const char* label : {"Icon", "Small Icon", "List", "Details"})
        AddTab(IDC_TAB, label);

    for (Panel* panel : panels.All())
        panel->OnInitDialog();

    if (!SetTimer(TIMER_ONE_SEC, 1000))
        DebugTrace("ZRNcom/OnStartOneSecTimer; ERROR in TIMER_ONE_SEC timer\n");
    OnStartPollingTimer();
    panels.schedule.SetZrnButtonProperly();
    return true;
}

void CZRNcomDlg::OnSysCommand(Notify& n) {
    switch (n.wParam) {
    case IDM_ABOUTBOX:
        OnAboutBox();
        return;
    case IDM_SDI_INFO:
        panels.settings.OnSdiInformation();
        return;
    case IDM_ZRN_CONNECT:
        panels.ports.OnZrnConnect();
        return;
    case IDM_EXPORT_SCHEDULES:
        panels.schedule.OnExportSchedules();
        return;
    case IDM_IMPORT_SCHEDULES:
        panels.schedule.OnImportSchedules();
        return;
    default:
        if ((n.wParam & SC_MASK) == SC_CLOSE)
            EndDialog(IDCANCEL);
    }
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
