// SDI-12 address, delay and durations; the identification dialog.
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "model/Catalogue.h"
#include "settings/SdiRules.h"
#include "shell/Resource.h"
#include "shell/ZRNcomDlg.h"

using namespace win;

namespace {

// The three boxes of schedule number 5's durations, what each remembers at
// focus and what each last showed.
struct DurationBox {
    int id;
    zrn::SdiDuration which;
    char chLetter; // of the reply
    std::string CZRNcomDlg::*atFocus;
    zrn::SdiMinSec CZRNcomDlg::*replied;
};
constexpr DurationBox kDurationBoxes[] = {
    {IDC_VALVE_SECS, zrn::SdiDuration::Valve, 'V', &CZRNcomDlg::strValveAtFocus,
     &CZRNcomDlg::sdiValve},
    {IDC_HOLD_SECS, zrn::SdiDuration::Hold, 'H', &CZRNcomDlg::strHoldAtFocus, &CZRNcomDlg::sdiHold},
    {IDC_PUMP_SECS, zrn::SdiDuration::Pump, 'P', &CZRNcomDlg::strPumpAtFocus, &CZRNcomDlg::sdiPump},
};

const DurationBox* DurationBoxOf(int id) {
    for (const DurationBox& box : kDurationBoxes)
        if (box.id == id)
            return &box;
    return nullptr;
}

const DurationBox* DurationBoxOfLetter(char chLetter) {
    for (const DurationBox& box : kDurationBoxes)
        if (box.chLetter == chLetter)
            return &box;
    return nullptr;
}

} // namespace

void CZRNcomDlg::OnSetfocusSdiSetting(Notify& n) {
    // 1. Editable while it has the focus; replies for it are ignored until it is left.
    SetReadOnly(n.id, false);
    // 2.
    const std::string text = GetDlgItemText(n.id);
    if (n.id == IDC_SDI_ADDRESS)
        chAddressAtFocus = zrn::FirstCharacter(text);
    else if (n.id == IDC_SDI_DELAY)
        nDelayAtFocus = zrn::DecimalValue(text);
    else if (const DurationBox* box = DurationBoxOf(n.id))
        this->*box->atFocus = text;
}

void CZRNcomDlg::OnKillfocusSdiSetting(Notify& n) {
    const std::string text = GetDlgItemText(n.id);
    zrn::CommandList commands;
    if (n.id == IDC_SDI_ADDRESS)
        commands = zrn::AddressLeaveCommands(text, chAddressAtFocus);
    else if (n.id == IDC_SDI_DELAY)
        commands = zrn::DelayLeaveCommands(text, nDelayAtFocus);
    else if (const DurationBox* box = DurationBoxOf(n.id))
        commands = zrn::SdiDurationLeaveCommands(box->which, text, this->*box->atFocus);
    for (const std::string& command : commands)
        SendCommand(command);
    SetReadOnly(n.id, true);
}

void CZRNcomDlg::ProcessSDIAddress() {
    // 1. Polling must not overwrite what the operator is typing.
    if (ItemHasFocus(IDC_SDI_ADDRESS))
        return;
    // 2.
    DebugTrace("CZRNcomDlg/ProcessSDIAddress: %s\r\n", strResponse.c_str());
    // 3.
    strSdiAddress = zrn::ParseAddressReply(strResponse);
    SetDlgItemText(IDC_SDI_ADDRESS, strSdiAddress);
}

void CZRNcomDlg::ProcessDelayResponse() {
    if (ItemHasFocus(IDC_SDI_DELAY))
        return;
    if (const auto shown = zrn::DelayReplyText(strResponse)) {
        SetDlgItemText(IDC_SDI_DELAY, *shown);
        strSdiDelay = *shown;
    }
}

void CZRNcomDlg::ProcessSdiDurationResponse(char chWhich, int nMinutes, int nSeconds) {
    const DurationBox* box = DurationBoxOfLetter(chWhich);
    // 1.
    if (box == nullptr || ItemHasFocus(box->id))
        return;
    // 2. Two-digit fields on the wire: they fit the bytes they are kept in.
    zrn::SdiMinSec& replied = this->*box->replied;
    replied = {static_cast<uint8_t>(nMinutes), static_cast<uint8_t>(nSeconds)};
    // 3.
    SetDlgItemText(box->id, zrn::SdiDurationText(replied));
}

void CZRNcomDlg::ProcessSDIResponse() {
    DebugTrace("CZRNcomDlg/ProcessSDIResponse: %s\r\n", strResponse.c_str());
    // The members only: an open dialog keeps its boxes and its snapshots.
    sdiInfoDlg.SetIdent(zrn::ParseIdentReply(strResponse));
}

void CZRNcomDlg::OnSdiInformation() {
    // 1.
    if (sdiInfoDlg.DoModal() != IDOK)
        return;
    // 2.
    if (!sdiInfoDlg.IsModified()) {
        sdiInfoDlg.RevertChanges();
        return;
    }
    // 3. and 4. The operator's fields are taken before the box: an "I" reply
    // handled while it is open would otherwise replace them.
    const std::string command = zrn::IdentSetCommand(sdiInfoDlg.Ident());
    if (MessageBox(this, "\"OK\"     changes ZRN SDI ID string\r\n\"CANCEL\" cancels changes\r\n",
                   "WARNING", MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        sdiInfoDlg.RevertChanges();
        return;
    }
    // 5. No query follows: the device's next "I" reply, if any, shows what it took.
    SendCommand(command);
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
