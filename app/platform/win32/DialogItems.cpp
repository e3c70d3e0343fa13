// Controls by identifier: text, lists, buttons, multi-line edits, names.
#include "platform/win32/DialogState.h"

#include "platform/Win.h"
#include "platform/win32/WideText.h"

#include <memory>

// Last: the COM headers define macros (small, interface) that the platform headers use as names.
#include <objbase.h>
#include <oleacc.h>

namespace {

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Windows edits break lines at CR LF only; a lone LF would vanish.
std::wstring EditText(std::string_view text) {
    std::wstring wide = Widen(text);
    std::wstring out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r'))
            out += L'\r';
        out += wide[i];
    }
    return out;
}

bool IsMultiLine(HWND hwnd) {
    return (::GetWindowLongW(hwnd, GWL_STYLE) & win::ES_MULTILINE) != 0;
}

// Names a control for screen readers, as Windows' own name from a label would:
// a dynamic annotation. Needs COM on the thread (the program starts OLE);
// without it the name stays with the dialog only.
void AnnotateName(HWND hwnd, std::string_view name) {
    IAccPropServices* raw = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&raw))) ||
        raw == nullptr)
        return;
    const std::unique_ptr<IAccPropServices, void (*)(IAccPropServices*)> services(
        raw, [](IAccPropServices* p) { p->Release(); });
    services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                             Widen(name).c_str());
}

} // namespace

std::string CDialog::GetWindowText() const {
    return m_hWnd != nullptr ? Narrow(WindowText(m_hWnd)) : std::string();
}

Control* CDialog::ControlObject(int id) const {
    const auto found = state->controls.find(id);
    return found == state->controls.end() ? nullptr : found->second.get();
}

HWND CDialog::GetDlgItem(int id) const {
    const Control* control = ControlObject(id);
    return control != nullptr ? control->Handle() : nullptr;
}

std::vector<int> CDialog::ControlIds() const {
    std::vector<int> ids;
    for (const auto& entry : state->controls)
        ids.push_back(entry.first);
    return ids;
}

void CDialog::SetDlgItemText(int id, std::string_view text) {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return;
    if (KindOf(id) == ControlKind::DateTime)
        return; // a picker shows its value, set through DateTimePicker
    if (KindOf(id) == ControlKind::Edit && IsMultiLine(hwnd)) {
        ::SetWindowTextW(hwnd, EditText(text).c_str());
        TrimLines(id);
        return;
    }
    ::SetWindowTextW(hwnd, Widen(text).c_str());
}

std::string CDialog::GetDlgItemText(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr ? Narrow(WindowText(hwnd)) : std::string();
}

void CDialog::EnableItem(int id, bool enable) {
    if (HWND hwnd = GetDlgItem(id))
        ::EnableWindow(hwnd, enable ? TRUE : FALSE);
}

bool CDialog::IsItemEnabled(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr && ::IsWindowEnabled(hwnd);
}

void CDialog::ShowItem(int id, bool show) {
    if (HWND hwnd = GetDlgItem(id))
        ::ShowWindow(hwnd, show ? SW_SHOWNA : SW_HIDE);
}

bool CDialog::IsItemShown(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr && (::GetWindowLongW(hwnd, GWL_STYLE) & win::WS_VISIBLE) != 0;
}

void CDialog::GotoDlgCtrl(int id) {
    if (HWND hwnd = GetDlgItem(id); hwnd != nullptr && m_hWnd != nullptr)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), TRUE);
}

void CDialog::SetReadOnly(int id, bool readOnly) {
    if (HWND hwnd = GetDlgItem(id); hwnd != nullptr && KindOf(id) == ControlKind::Edit)
        ::SendMessageW(hwnd, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool CDialog::IsReadOnly(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr && KindOf(id) == ControlKind::Edit &&
           (::GetWindowLongW(hwnd, GWL_STYLE) & win::ES_READONLY) != 0;
}

void CDialog::ListBoxReset(int id) {
    if (HWND hwnd = GetDlgItem(id))
        ::SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
}

void CDialog::ListBoxInsert(int id, int row, std::string_view text) {
    if (HWND hwnd = GetDlgItem(id))
        ::SendMessageW(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

int CDialog::ListBoxCount(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr ? static_cast<int>(::SendMessageW(hwnd, LB_GETCOUNT, 0, 0)) : 0;
}

std::string CDialog::ListBoxText(int id, int row) const {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return {};
    const LRESULT length = ::SendMessageW(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::SendMessageW(hwnd, LB_GETTEXT, static_cast<WPARAM>(row),
                                                   reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

void CDialog::ListBoxSetCurSel(int id, int row) {
    if (HWND hwnd = GetDlgItem(id))
        ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int CDialog::ListBoxGetCurSel(int id) const {
    HWND hwnd = GetDlgItem(id);
    const LRESULT row = hwnd != nullptr ? ::SendMessageW(hwnd, LB_GETCURSEL, 0, 0) : LB_ERR;
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void CDialog::AddTab(int id, std::string_view label) {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return;
    std::wstring text = Widen(label);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(TabCount(id)),
                   reinterpret_cast<LPARAM>(&item));
}

int CDialog::TabCount(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr ? static_cast<int>(::SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

void CDialog::LimitText(int id, int maxChars) {
    if (HWND hwnd = GetDlgItem(id); hwnd != nullptr && KindOf(id) == ControlKind::Edit)
        ::SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

bool CDialog::ItemHasFocus(int id) const {
    HWND hwnd = GetDlgItem(id);
    HWND focus = ::GetFocus();
    return hwnd != nullptr && focus != nullptr && (focus == hwnd || ::IsChild(hwnd, focus));
}

void CDialog::CheckDlgButton(int id, int check) {
    if (HWND hwnd = GetDlgItem(id))
        ::SendMessageW(hwnd, BM_SETCHECK, check != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int CDialog::IsDlgButtonChecked(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr && ::SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CDialog::AppendLine(int id, std::string_view text) {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return;
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring line = EditText(text);
    if (length > 0)
        line.insert(0, L"\r\n");
    ::SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    TrimLines(id);
}

int CDialog::GetLineCount(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr ? static_cast<int>(::SendMessageW(hwnd, EM_GETLINECOUNT, 0, 0)) : 1;
}

void CDialog::LineScroll(int id, int lines) {
    if (HWND hwnd = GetDlgItem(id))
        ::SendMessageW(hwnd, EM_LINESCROLL, 0, lines);
}

int CDialog::FirstVisibleLine(int id) const {
    HWND hwnd = GetDlgItem(id);
    return hwnd != nullptr ? static_cast<int>(::SendMessageW(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0))
                           : 0;
}

void CDialog::LimitLines(int id, int lines) {
    state->lineLimits[id] = lines;
    TrimLines(id);
}

void CDialog::TrimLines(int id) {
    const auto limit = state->lineLimits.find(id);
    HWND hwnd = GetDlgItem(id);
    if (limit == state->lineLimits.end() || hwnd == nullptr || limit->second <= 0)
        return;
    const auto count = static_cast<int>(::SendMessageW(hwnd, EM_GETLINECOUNT, 0, 0));
    if (count <= limit->second)
        return;
    const LRESULT cut = ::SendMessageW(hwnd, EM_LINEINDEX, count - limit->second, 0);
    if (cut <= 0)
        return;
    ::SendMessageW(hwnd, EM_SETSEL, 0, cut);
    ::SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    ::SendMessageW(hwnd, EM_EMPTYUNDOBUFFER, 0, 0);
    const int end = ::GetWindowTextLengthW(hwnd);
    ::SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void CDialog::SetAccessibleName(int id, std::string_view name) {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return;
    state->accessibleNames[id] = std::string(name);
    AnnotateName(hwnd, name);
}

std::string CDialog::AccessibleName(int id) const {
    const auto found = state->accessibleNames.find(id);
    return found == state->accessibleNames.end() ? std::string() : found->second;
}
