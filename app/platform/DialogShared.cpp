// The parts of a dialog that only speak the platform layer's own calls: both
// backends build this file.
#ifdef _WIN32
#include "platform/win32/DialogState.h"
#else
#include "platform/qt/DialogState.h"
#endif
#include "base/Text.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"

#include <algorithm>
#include <charconv>
#include <string>

// Reads the control into the value when saving, else shows the value in it;
// once a check has failed nothing more is exchanged.
template <class Value, class Read, class Show>
void DataExchange::Exchange(Value& value, Read read, Show show) {
    if (failed)
        return;
    if (saving)
        value = read();
    else
        show(value);
}

void DataExchange::Text(int id, std::string& value) {
    Exchange(
        value, [&] { return dialog.GetDlgItemText(id); },
        [&](const std::string& text) { dialog.SetDlgItemText(id, text); });
}

void DataExchange::DateTime(int id, int64_t& seconds) {
    if (auto* picker = dialog.Item<DateTimePicker>(id))
        Exchange(
            seconds, [picker] { return picker->Time(); },
            [picker](int64_t t) { picker->SetTime(t); });
}

void DataExchange::OleTime(int id, double& days) {
    if (auto* picker = dialog.Item<DateTimePicker>(id))
        Exchange(
            days, [picker] { return picker->OleDate(); },
            [picker](double d) { picker->SetOleDate(d); });
}

void DataExchange::Check(int id, int& state) {
    Exchange(
        state, [&] { return dialog.IsDlgButtonChecked(id); },
        [&](int check) { dialog.CheckDlgButton(id, check); });
}

void DataExchange::Int(int id, int& value, int minimum, int maximum) {
    if (failed)
        return;
    if (!saving) {
        dialog.SetDlgItemText(id, std::to_string(value));
        return;
    }
    const std::string entered = dialog.GetDlgItemText(id);
    const std::string_view text = zrn::TrimBlanks(entered);
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        Fail(id, "Please enter an integer.");
        return;
    }
    if (parsed < minimum || parsed > maximum) {
        Fail(id, "Please enter an integer between " + std::to_string(minimum) + " and " +
                     std::to_string(maximum) + ".");
        return;
    }
    value = parsed;
}

void DataExchange::Refuse(int id, const std::string& message) {
    if (saving && !failed)
        Fail(id, message);
}

void DataExchange::Fail(int id, const std::string& message) {
    failed = true;
    MessageBox(&dialog, message, {}, win::MB_OK | win::MB_ICONWARNING);
    dialog.GotoDlgCtrl(id);
}

ControlKind CDialog::KindOf(int id) const {
    for (const ControlTemplate& control : state->dialogTemplate.controls) {
        if (control.id == id)
            return control.kind;
    }
    return ControlKind::Static;
}

Rect CDialog::TemplateRect(int id) const {
    for (const ControlTemplate& control : state->dialogTemplate.controls) {
        if (control.id == id)
            return {control.x, control.y, control.cx, control.cy};
    }
    return {};
}

bool CDialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

void CDialog::TrackMenu(const MenuTemplate& menu, Point screenPos) {
    const auto first = std::find_if(menu.items.begin(), menu.items.end(),
                                    [](const MenuItem& item) { return item.id != 0; });
    const unsigned defaultId = first == menu.items.end() ? 0 : first->id;
    if (const unsigned command = TrackPopupMenu(this, menu.items, defaultId, screenPos))
        SendMessage(static_cast<int>(command), win::BN_CLICKED);
}

void CDialog::ShowSystemMenu(Point screenPos) {
    if (const unsigned command = TrackPopupMenu(this, state->systemMenu.Items(), 0, screenPos))
        SendMessage(kWindow, win::WM_SYSCOMMAND, command);
}

bool CDialog::Deliver(Notify& n) {
    if (state->destroying)
        return false;
    if (OnMessage(n))
        return true;
    // Default processing.
    if (n.id == win::IDOK && n.code == win::BN_CLICKED)
        OnOK();
    else if (n.id == win::IDCANCEL && n.code == win::BN_CLICKED)
        OnCancel();
    else if (n.id == kWindow && n.code == win::WM_SYSCOMMAND &&
             (n.wParam & win::SC_MASK) == win::SC_CLOSE)
        SendMessage(win::IDCANCEL, win::BN_CLICKED);
    return false;
}

intptr_t CDialog::SendMessage(int id, int code, uintptr_t wParam, intptr_t lParam) {
    Notify n;
    n.id = id;
    n.code = code;
    n.wParam = wParam;
    n.lParam = lParam;
    Deliver(n);
    return n.result;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(win::IDOK);
}
