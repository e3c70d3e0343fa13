// SDI-12 address, delay and durations; the identification dialog.
#include "settings/SettingsPanel.h"

#include "model/Catalogue.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "protocol/ReplyTable.h"
#include "resources/Resource.h"

using namespace win;

// The three boxes of schedule number 5's durations, what each remembers at
// focus and what each last showed.
struct SettingsPanel::DurationBox {
    int id;
    zrn::SdiDuration which;
    char chLetter; // of the reply
    std::string SettingsPanel::*atFocus;
    zrn::SdiMinSec SettingsPanel::*replied;
};

const SettingsPanel::DurationBox SettingsPanel::kDurationBoxes[] = {
    {IDC_VALVE_SECS, zrn::SdiDuration::Valve, 'V', &SettingsPanel::strValveAtFocus,
     &SettingsPanel::sdiValve},
    {IDC_HOLD_SECS, zrn::SdiDuration::Hold, 'H', &SettingsPanel::strHoldAtFocus,
     &SettingsPanel::sdiHold},
    {IDC_PUMP_SECS, zrn::SdiDuration::Pump, 'P', &SettingsPanel::strPumpAtFocus,
     &SettingsPanel::sdiPump},
};

const SettingsPanel::DurationBox* SettingsPanel::DurationBoxOf(int id) {
    for (const DurationBox& box : kDurationBoxes)
        if (box.id == id)
            return &box;
    return nullptr;
}

const SettingsPanel::DurationBox* SettingsPanel::DurationBoxOfLetter(char chLetter) {
    for (const DurationBox& box : kDurationBoxes)
        if (box.chLetter == chLetter)
            return &box;
    return nullptr;
}

SettingsPanel::SettingsPanel(PanelHost& host) : PanelOf(host), sdiInfoDlg(&host.Window()) {}

void SettingsPanel::DoDataExchange(DataExchange& dx) {
    dx.Text(IDC_SDI_ADDRESS, strSdiAddress);
    dx.Text(IDC_SDI_DELAY, strSdiDelay);
}

void SettingsPanel::RegisterReplies(ReplyTable& replies) {
    replies.Add("A", [this](const std::string& reply) { ProcessSDIAddress(reply); });
    replies.Add("L", [this](const std::string& reply) { ProcessDelayResponse(reply); });
    replies.Add("I", [this](const std::string& reply) { ProcessSDIResponse(reply); });
    // Schedule number 5 carries the durations of the SDI row.
    replies.Add("S5", [this](const std::string& reply) { ProcessSdiDurationResponse(reply); });
}

void SettingsPanel::OnSetfocusSdiSetting(Notify& n) {
    // 1. Editable while it has the focus; replies for it are ignored until it is left.
    Window().SetReadOnly(n.id, false);
    // 2.
    const std::string text = Window().GetDlgItemText(n.id);
    if (n.id == IDC_SDI_ADDRESS)
        chAddressAtFocus = zrn::FirstCharacter(text);
    else if (n.id == IDC_SDI_DELAY)
        nDelayAtFocus = zrn::DecimalValue(text);
    else if (const DurationBox* box = DurationBoxOf(n.id))
        this->*box->atFocus = text;
}

void SettingsPanel::OnKillfocusSdiSetting(Notify& n) {
    const std::string text = Window().GetDlgItemText(n.id);
    zrn::CommandList commands;
    const char* key = "";
    zrn::Json before;
    if (n.id == IDC_SDI_ADDRESS) {
        commands = zrn::AddressLeaveCommands(text, chAddressAtFocus);
        key = "address";
        before = std::string(1, chAddressAtFocus);
    } else if (n.id == IDC_SDI_DELAY) {
        commands = zrn::DelayLeaveCommands(text, nDelayAtFocus);
        key = "delay";
        before = nDelayAtFocus;
    } else if (const DurationBox* box = DurationBoxOf(n.id)) {
        commands = zrn::SdiDurationLeaveCommands(box->which, text, this->*box->atFocus);
        key = box->chLetter == 'V' ? "valve" : box->chLetter == 'H' ? "hold" : "pump";
        before = this->*box->atFocus;
    }
    for (const std::string& command : commands)
        host.SendCommand(command);
    if (!commands.empty() && host.LinkOpen()) {
        // The panel shows the device's next reply; the journal does not wait for it.
        host.ChangeDone("sdi", zrn::Json{{key, before}}, zrn::Json{{key, text}},
                        zrn::ChangeResult::Unknown);
    }
    Window().SetReadOnly(n.id, true);
}

void SettingsPanel::ProcessSDIAddress(const std::string& strResponse) {
    // 1. Polling must not overwrite what the operator is typing.
    if (Window().ItemHasFocus(IDC_SDI_ADDRESS))
        return;
    // 2.
    DebugTrace("CZRNcomDlg/ProcessSDIAddress: %s\r\n", strResponse.c_str());
    // 3.
    strSdiAddress = zrn::ParseAddressReply(strResponse);
    Window().SetDlgItemText(IDC_SDI_ADDRESS, strSdiAddress);
}

void SettingsPanel::ProcessDelayResponse(const std::string& strResponse) {
    if (Window().ItemHasFocus(IDC_SDI_DELAY))
        return;
    if (const auto shown = zrn::DelayReplyText(strResponse)) {
        Window().SetDlgItemText(IDC_SDI_DELAY, *shown);
        strSdiDelay = *shown;
    }
}

void SettingsPanel::ProcessSdiDurationResponse(const std::string& strResponse) {
    const zrn::ScheduleReply reply = zrn::ParseScheduleReply(strResponse);
    if (reply.kind == zrn::ScheduleReplyKind::Ignored || reply.nNumber != 5)
        return;
    const DurationBox* box = DurationBoxOfLetter(strResponse[2]);
    // 1.
    if (box == nullptr || Window().ItemHasFocus(box->id))
        return;
    // 2. Two-digit fields on the wire: they fit the bytes they are kept in.
    zrn::SdiMinSec& replied = this->*box->replied;
    replied = {static_cast<uint8_t>(reply.nValues[1]), static_cast<uint8_t>(reply.nValues[2])};
    // 3.
    Window().SetDlgItemText(box->id, zrn::SdiDurationText(replied));
}

void SettingsPanel::ProcessSDIResponse(const std::string& strResponse) {
    DebugTrace("CZRNcomDlg/ProcessSDIResponse: %s\r\n", strResponse.c_str());
    // The members only: an open dialog keeps its boxes and its snapshots.
    sdiInfoDlg.SetIdent(zrn::ParseIdentReply(strResponse));
}

void SettingsPanel::OnSdiInformation() {
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
    if (MessageBox(&Window(),
                   "\"OK\"     changes ZRN SDI ID string\r\n\"CANCEL\" cancels changes\r\n",
                   "WARNING", MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        sdiInfoDlg.RevertChanges();
        return;
    }
    // 5. No query follows: the device's next "I" reply, if any, shows what it took.
    host.SendCommand(command);
    if (host.LinkOpen())
        host.ChangeDone("identification", zrn::Json(),
                        zrn::Json(command.substr(2, command.size() - 3)),
                        zrn::ChangeResult::Unknown);
}

// SDI-12 settings: each box edits on focus and sends when the focus leaves.
SettingsPanel::Rows SettingsPanel::EventRows() {
    using D = SettingsPanel;
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
