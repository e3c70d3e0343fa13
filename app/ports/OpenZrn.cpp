#include "ports/OpenZrn.h"

#include "platform/DebugOutput.h"
#include "platform/Win.h"
#include "ports/PortList.h"

using namespace win;

namespace {

constexpr ControlTemplate kControls[] = {
    {IDOK, ControlKind::Button, "OK", 129, 7, 50, 14, BS_DEFPUSHBUTTON},
    {IDCANCEL, ControlKind::Button, "Cancel", 129, 24, 50, 14},
    {IDC_STATIC, ControlKind::GroupBox, "Select Comm Port", 15, 14, 102, 72},
    {IDC_PORT_LIST, ControlKind::ListBox, "", 21, 25, 88, 55, LBS_SORT | LBS_NOTIFY | WS_VSCROLL},
};
constexpr DialogTemplate kTemplate{IDD_OPEN_ZRN, "Dialog", 186, 100, "MS Shell Dlg", 8, kControls};

} // namespace

COpenZrn::COpenZrn(CWnd* parent) : CDialog(kTemplate, parent) {}

int COpenZrn::DoModal() {
    if (bInitialised)
        OnInitDialog();
    return CDialog::DoModal();
}

bool COpenZrn::OnInitDialog() {
    bInitialised = true;
    CDialog::OnInitDialog();
    ListBoxReset(IDC_PORT_LIST);
    for (const std::string& port : zrn::SystemSerialPorts())
        AddString(port);
    ListBoxSetCurSel(IDC_PORT_LIST, 0);
    TakeSelection();
    DebugTrace("COpenZrn/OnInitDialog; %d ports, %s\n", ListBoxCount(IDC_PORT_LIST),
               strPortDefinition.c_str());
    return true;
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
