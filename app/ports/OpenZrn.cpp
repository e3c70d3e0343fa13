#include "ports/OpenZrn.h"

#include "base/Text.h"
#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "ports/NetworkPort.h"
#include "device/PortList.h"
#include "ports/RecentPortsFile.h"

#include <algorithm>
#include <vector>

using namespace win;

namespace {

constexpr ControlTemplate kControls[] = {
    {IDOK, ControlKind::Button, "OK", 189, 7, 50, 14, BS_DEFPUSHBUTTON},
    {IDCANCEL, ControlKind::Button, "Cancel", 189, 24, 50, 14},
    {IDC_STATIC, ControlKind::GroupBox, "Select Comm Port", 15, 14, 162, 72},
    {IDC_PORT_LIST, ControlKind::ListBox, "", 21, 25, 150, 55, LBS_SORT | LBS_NOTIFY | WS_VSCROLL},
    {IDC_STATIC, ControlKind::Static, "&Network port:", 15, 94, 162, 8},
    {IDC_NETWORK_PORT, ControlKind::Edit, "", 15, 104, 224, 14},
    {IDC_STATIC, ControlKind::Static, "For example rfc2217://host:7000 or tcp://host:4001", 15, 121,
     224, 8, SS_NOPREFIX},
};
constexpr DialogTemplate kTemplate{IDD_OPEN_ZRN, "Dialog", 246, 137, "MS Shell Dlg", 8, kControls};

} // namespace

COpenZrn::COpenZrn(CWnd* parent) : CDialog(kTemplate, parent) {}

int COpenZrn::DoModal() {
    if (bInitialised)
        OnInitDialog();
    return CDialog::DoModal();
}

bool COpenZrn::OnInitDialog() {
    bInitialised = true;
    strTypedPort.clear(); // the list's choice, unless the operator types one
    CDialog::OnInitDialog();
    ListBoxReset(IDC_PORT_LIST);
    for (const std::string& port : zrn::SystemSerialPorts())
        AddString(port);
    // Below the system's ports, so the first of those stays preselected.
    std::vector<std::string> recent;
    if (const auto file = zrn::RecentPortsFile())
        recent = zrn::ReadRecentPorts(*file);
    const int systemPorts = ListBoxCount(IDC_PORT_LIST);
    for (const std::string& port : recent) {
        bool listed = false;
        for (int row = 0; row < systemPorts && !listed; ++row)
            listed = zrn::EqualsIgnoreCase(port, ListBoxText(IDC_PORT_LIST, row));
        if (!listed)
            ListBoxInsert(IDC_PORT_LIST, ListBoxCount(IDC_PORT_LIST), port);
    }
    ListBoxSetCurSel(IDC_PORT_LIST, 0);
    TakeSelection();
    DebugTrace("COpenZrn/OnInitDialog; %d ports, %s\n", ListBoxCount(IDC_PORT_LIST),
               strPortDefinition.c_str());
    return true;
}

void COpenZrn::DoDataExchange(DataExchange& dx) {
    dx.Text(IDC_NETWORK_PORT, strTypedPort);
    if (!dx.Saving())
        return;
    strTypedPort = std::string(zrn::TrimBlanks(strTypedPort));
    // A device name is the link's to judge; a network name must be whole here,
    // or the link would be handed a port it reads otherwise.
    if (!zrn::HasUrlScheme(strTypedPort))
        return;
    if (const auto problem = zrn::NetworkPortProblem(strTypedPort))
        dx.Refuse(IDC_NETWORK_PORT, "\"" + strTypedPort + "\" is not a network port: " + *problem +
                                        ".\n\nType " + zrn::NETWORK_PORT_FORM + ".");
}

void COpenZrn::OnOK() {
    if (!UpdateData(true))
        return; // refused: the dialog stays open on the typed text
    if (!strTypedPort.empty()) {
        strPortDefinition = zrn::PortDefinition(strTypedPort);
        RememberNetworkPort(strTypedPort);
    }
    DebugTrace("COpenZrn/OnOK; %s\n", strPortDefinition.c_str());
    EndDialog(IDOK);
}

void COpenZrn::RememberNetworkPort(std::string_view port) {
    if (zrn::NetworkPortProblem(port))
        return;
    const auto file = zrn::RecentPortsFile();
    if (!file) {
        DebugTrace("COpenZrn/RememberNetworkPort; no folder for the recent ports\n");
        return;
    }
    const std::string problem =
        zrn::WriteRecentPorts(*file, zrn::RememberPort(zrn::ReadRecentPorts(*file), port));
    if (!problem.empty())
        DebugTrace("COpenZrn/RememberNetworkPort; %s\n", problem.c_str());
}

void COpenZrn::OnSelchangePortList() {
    TakeSelection();
}

void COpenZrn::TakeSelection() {
    const int selected = ListBoxGetCurSel(IDC_PORT_LIST);
    strPortDefinition = selected != -1 ? zrn::PortDefinition(ListBoxText(IDC_PORT_LIST, selected))
                                       : zrn::FALLBACK_PORT_DEFINITION;
}

// A sorted list box inserts case-insensitively, so COM10 comes before COM2;
// so the place is found here.
void COpenZrn::AddString(const std::string& text) {
    int row = 0;
    while (row < ListBoxCount(IDC_PORT_LIST) &&
           !zrn::PortListBoxLess(text, ListBoxText(IDC_PORT_LIST, row)))
        ++row;
    ListBoxInsert(IDC_PORT_LIST, row, text);
}

namespace {
const EventEntry<COpenZrn> kEvents[] = {
    {IDC_PORT_LIST, LBN_SELCHANGE, &COpenZrn::OnSelchangePortList},
};
} // namespace

bool COpenZrn::OnMessage(Notify& n) {
    return Dispatch<COpenZrn>(*this, kEvents, n);
}
