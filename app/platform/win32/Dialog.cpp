#include "platform/win32/Dialog.h"

#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <clocale>
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

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES |
                                      ICC_TAB_CLASSES};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

// Predefined control classes by atom, the common controls by name.
constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083;

struct ItemClass {
    WORD atom = 0;                 // or
    const wchar_t* name = nullptr; // a registered class
    DWORD style = 0;
    DWORD exStyle = 0;
};

ItemClass ClassOf(const ControlTemplate& c) {
    const unsigned s = c.style;
    switch (c.kind) {
    case ControlKind::Static:
        return {kStatic, nullptr, SS_LEFT | (s & (win::SS_NOTIFY | win::SS_NOPREFIX))};
    case ControlKind::Picture:
        return {kStatic, nullptr, SS_BITMAP | SS_REALSIZECONTROL | (s & win::SS_NOTIFY)};
    case ControlKind::Icon:
        return {kStatic, nullptr, SS_BITMAP};
    case ControlKind::GroupBox:
        return {kButton, nullptr, BS_GROUPBOX};
    case ControlKind::Button:
        return {kButton, nullptr,
                ((s & win::BS_DEFPUSHBUTTON) ? DWORD(win::BS_DEFPUSHBUTTON) : BS_PUSHBUTTON) |
                    WS_TABSTOP};
    case ControlKind::CheckBox:
        return {kButton, nullptr, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::RadioButton:
        // The dialog manager checks and unchecks an auto radio group itself; only
        // the group's first button is a tab stop.
        return {kButton, nullptr, BS_AUTORADIOBUTTON | ((s & win::WS_GROUP) ? WS_TABSTOP : 0u)};
    case ControlKind::Edit: {
        DWORD style = ES_LEFT | WS_TABSTOP |
                      (s & (win::ES_MULTILINE | win::ES_READONLY | win::ES_NUMBER |
                            win::WS_VSCROLL | win::WS_HSCROLL));
        if (!(s & win::ES_MULTILINE) || (s & win::WS_HSCROLL))
            style |= ES_AUTOHSCROLL; // no word wrap
        if (s & win::ES_MULTILINE)
            style |= ES_AUTOVSCROLL;
        return {kEdit, nullptr, style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::DateTime:
        return {0, DATETIMEPICK_CLASSW, (s & 0xFFu) | WS_TABSTOP};
    case ControlKind::ListView:
        return {0, WC_LISTVIEWW, (s & 0xFFFFu) | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {kListBox, nullptr,
                (s & 0xFFFFu) | LBS_NOINTEGRALHEIGHT | WS_TABSTOP |
                    (s & (win::WS_VSCROLL | win::WS_HSCROLL)),
                WS_EX_CLIENTEDGE};
    case ControlKind::Tab:
        return {0, WC_TABCONTROLW, WS_TABSTOP};
    }
    return {kStatic};
}

// Writes an in-memory DLGTEMPLATEEX.
class TemplateWriter {
public:
    void Word(unsigned value) { data.push_back(static_cast<WORD>(value)); }
    void Dword(unsigned long value) {
        Word(value & 0xFFFF);
        Word((value >> 16) & 0xFFFF);
    }
    void Text(std::string_view text) {
        for (wchar_t c : Widen(text))
            Word(c);
        Word(0);
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text)
            Word(*text);
        Word(0);
    }
    void AlignDword() {
        if (data.size() % 2)
            Word(0);
    }
    std::vector<WORD> data;
};

} // namespace

void KeepNumbersLocaleFree() {
    std::setlocale(LC_NUMERIC, "C");
}

// DataExchange

void DataExchange::DateTime(int id, int64_t& seconds) {
    auto* picker = dialog.Item<DateTimePicker>(id);
    if (failed || picker == nullptr)
        return;
    if (saving)
        seconds = picker->Time();
    else
        picker->SetTime(seconds);
}

// WindowMenu

void WindowMenu::AppendMenu(unsigned flags, unsigned id, std::string_view text) {
    MenuItem item;
    if (!(flags & win::MF_SEPARATOR)) {
        texts.emplace_back(text); // a deque: earlier items keep pointing at their texts
        item = MenuItem{id, texts.back()};
    }
    items.push_back(item);
    if (window != nullptr)
        AppendNative(item);
}

void WindowMenu::Attach(HWND hwnd) {
    window = hwnd;
    // The first item is Close, which the system menu has of its own.
    for (size_t i = 1; i < items.size(); ++i)
        AppendNative(items[i]);
}

void WindowMenu::AppendNative(const MenuItem& item) const {
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (menu == nullptr)
        return;
    if (item.id == 0)
        ::AppendMenuW(menu, win::MF_SEPARATOR, 0, nullptr);
    else
        ::AppendMenuW(menu, win::MF_STRING, item.id, Widen(item.text).c_str());
}

// CDialog

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* parent)
    : dialogTemplate(dialogTemplate), parent(parent) {
    systemMenu.AppendMenu(win::MF_STRING, static_cast<unsigned>(win::SC_CLOSE), "&Close\tAlt+F4");
}

CDialog::~CDialog() {
    // Focus changes while the window goes must not reach handlers of a dialog
    // that is already half gone.
    destroying = true;
    if (m_hWnd != nullptr) {
        for (const auto& entry : timers)
            ::KillTimer(m_hWnd, entry.first);
        ::DestroyWindow(m_hWnd);
    }
}

std::vector<WORD> CDialog::BuildTemplate() const {
    TemplateWriter t;
    t.Word(1);      // dlgVer
    t.Word(0xFFFF); // signature
    t.Dword(0);     // helpID
    t.Dword(WS_EX_CONTROLPARENT);
    t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | DS_MODALFRAME | DS_SETFONT);
    t.Word(static_cast<unsigned>(dialogTemplate.controls.size()));
    t.Word(0);
    t.Word(0);
    t.Word(static_cast<unsigned>(dialogTemplate.cx));
    t.Word(static_cast<unsigned>(dialogTemplate.cy));
    t.Word(0); // no menu
    t.Word(0); // the dialog class
    t.Text(dialogTemplate.caption);
    t.Word(static_cast<unsigned>(dialogTemplate.pointSize));
    t.Word(FW_NORMAL);
    t.Word(MAKEWORD(FALSE, DEFAULT_CHARSET)); // italic, charset
    t.Text(dialogTemplate.font);
    for (const ControlTemplate& c : dialogTemplate.controls) {
        const ItemClass item = ClassOf(c);
        const DWORD style = WS_CHILD | item.style | (c.style & (win::WS_GROUP | win::WS_DISABLED)) |
                            ((c.style & NOT_VISIBLE) ? 0u : DWORD(win::WS_VISIBLE));
        t.AlignDword();
        t.Dword(0); // helpID
        t.Dword(item.exStyle);
        t.Dword(style);
        t.Word(static_cast<unsigned>(c.x));
        t.Word(static_cast<unsigned>(c.y));
        t.Word(static_cast<unsigned>(c.cx));
        t.Word(static_cast<unsigned>(c.cy));
        t.Dword(static_cast<unsigned long>(c.id));
        if (item.name != nullptr) {
            t.Text(item.name);
        } else {
            t.Word(0xFFFF);
            t.Word(item.atom);
        }
        const bool image = c.kind == ControlKind::Picture || c.kind == ControlKind::Icon;
        t.Text(image ? std::string_view() : c.caption);
        t.Word(0); // no creation data
    }
    return std::move(t.data);
}

bool CDialog::Create() {
    if (created)
        return true;
    created = true;
    InitCommonControlsOnce();
    const std::vector<WORD> resource = BuildTemplate();
    HWND owner = parent != nullptr ? parent->m_hWnd : nullptr;
    HWND hwnd = ::CreateDialogIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(resource.data()), owner,
        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr && initResult;
}

// Controls are the dialog's children in template order; each gets its object,
// its image and the settings a template cannot carry.
void CDialog::WrapControls() {
    HWND child = ::GetWindow(m_hWnd, GW_CHILD);
    for (const ControlTemplate& c : dialogTemplate.controls) {
        if (child == nullptr)
            break;
        HWND hwnd = child;
        child = ::GetWindow(child, GW_HWNDNEXT);
        RECT r{};
        ::GetClientRect(hwnd, &r);
        std::unique_ptr<Control> control;
        switch (c.kind) {
        case ControlKind::Picture:
        case ControlKind::Icon: {
            const Size size = c.kind == ControlKind::Icon ? Size(32, 32) : Size(r.right, r.bottom);
            if (c.kind == ControlKind::Icon)
                ::SetWindowPos(hwnd, nullptr, 0, 0, 32, 32,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            Bitmap bitmap = LoadImageResource(c.resource, size);
            if (!bitmap.isNull()) {
                ::SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP,
                               reinterpret_cast<LPARAM>(bitmap.Handle()));
                images.push_back(bitmap);
            }
            break;
        }
        case ControlKind::Edit:
            // A log box holds far more than the 32 K characters an edit takes by default.
            if (c.style & win::ES_MULTILINE)
                ::SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
            break;
        case ControlKind::DateTime:
            control = std::make_unique<DateTimePicker>(c.id, hwnd, c.style);
            break;
        case ControlKind::ListView:
            control = std::make_unique<ListView>(c.id, hwnd);
            break;
        default:
            break;
        }
        if (c.id == win::IDC_STATIC)
            continue;
        if (!control)
            control = std::make_unique<Control>(c.id, hwnd);
        controls[c.id] = std::move(control);
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        self->WrapControls();
        self->systemMenu.Attach(hwnd);
        self->initResult = self->OnInitDialog();
        // The focus goes to the first control when the dialog is activated,
        // not while it is still hidden.
        return FALSE;
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        self->controls.clear();
        return FALSE;
    }
    return self->HandleMessage(msg, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (destroying)
        return FALSE;
    switch (msg) {
    case win::WM_COMMAND: {
        Notify n;
        n.id = LOWORD(wParam);
        // Menus and accelerators report 0 and 1 and no control: a click on the command.
        n.code = lParam != 0 ? static_cast<int>(HIWORD(wParam)) : win::BN_CLICKED;
        n.wParam = wParam;
        n.lParam = lParam;
        Deliver(n);
        return TRUE;
    }
    case WM_NOTIFY:
        return OnNotifyMessage(*reinterpret_cast<const NMHDR*>(lParam));
    case win::WM_TIMER:
        SendMessage(kWindow, win::WM_TIMER, wParam, lParam);
        return TRUE;
    case win::WM_SYSCOMMAND: {
        // Moving, sizing, the keyboard menu and the rest stay the system's;
        // Close and the commands appended to the menu are the dialog's.
        const uintptr_t command = wParam & win::SC_MASK;
        if (command >= 0xF000 && command != win::SC_CLOSE)
            return FALSE;
        Notify n;
        n.code = win::WM_SYSCOMMAND;
        n.wParam = wParam;
        n.lParam = lParam;
        // Close is Cancel unless a handler takes it.
        return Deliver(n) || command == win::SC_CLOSE ? TRUE : FALSE;
    }
    case WM_CLOSE:
        SendMessage(kWindow, win::WM_SYSCOMMAND, win::SC_CLOSE);
        return TRUE;
    case win::WM_SHOWWINDOW:
        if (wParam != 0)
            SendMessage(kWindow, win::WM_SHOWWINDOW, wParam, lParam);
        return FALSE;
    default:
        break;
    }
    int message = 0;
    if (msg >= WM_USER && refusingUserMessages) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    if (msg >= WM_USER && msg < 0xC000) {
        message = static_cast<int>(msg);
    } else if (const auto found = registeredMessages.find(msg); found != registeredMessages.end()) {
        message = found->second;
    } else {
        return FALSE;
    }
    Notify n;
    n.code = message;
    n.wParam = wParam;
    n.lParam = lParam;
    if (!Deliver(n))
        return FALSE; // the dialog manager's own (DM_GETDEFID...)
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, n.result);
    return TRUE;
}

INT_PTR CDialog::OnNotifyMessage(const NMHDR& header) {
    Notify n;
    n.id = static_cast<int>(header.idFrom);
    n.code = static_cast<int>(header.code);
    n.wParam = header.idFrom;
    n.lParam = reinterpret_cast<intptr_t>(&header);
    Control* control = ControlObject(n.id);
    if (auto* picker = dynamic_cast<DateTimePicker*>(control)) {
        std::optional<PickerFields> fields;
        if (n.code == win::DTN_DATETIMECHANGE) {
            if (picker->Setting())
                return TRUE; // a value the program set: no notification
            const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
            if (change.dwFlags == GDT_VALID)
                fields = PickerFields{change.st.wYear, change.st.wMonth,  change.st.wDay,
                                      change.st.wHour, change.st.wMinute, change.st.wSecond};
        } else {
            fields = picker->Fields();
        }
        if (fields) {
            n.year = fields->year;
            n.month = fields->month;
            n.day = fields->day;
            n.hour = fields->hour;
            n.minute = fields->minute;
            n.second = fields->second;
        }
    } else if (dynamic_cast<ListView*>(control) != nullptr) {
        POINT screen{};
        ::GetCursorPos(&screen);
        switch (n.code) {
        case win::NM_CLICK:
        case win::NM_DBLCLK:
        case win::NM_RCLICK:
        case win::LVN_ITEMACTIVATE: {
            const auto& item = reinterpret_cast<const NMITEMACTIVATE&>(header);
            n.row = item.iItem;
            screen = item.ptAction;
            ::ClientToScreen(header.hwndFrom, &screen);
            break;
        }
        case win::LVN_ITEMCHANGED:
            n.row = reinterpret_cast<const NMLISTVIEW&>(header).iItem;
            break;
        case win::LVN_KEYSELECT:
            n.row = static_cast<int>(
                ::SendMessageW(header.hwndFrom, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
            break;
        default:
            n.row = static_cast<int>(
                ::SendMessageW(header.hwndFrom, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
            break;
        }
        n.point = Point(screen.x, screen.y);
    }
    if (!Deliver(n))
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, n.result);
    return TRUE;
}

int CDialog::DoModal() {
    modal = true;
    ending = false;
    modalResult = 0;
    if (!Create() && m_hWnd == nullptr) {
        modal = false;
        return -1;
    }
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    if (!ending)
        ::ShowWindow(m_hWnd, win::SW_SHOW);
    MSG msg{};
    while (!ending && m_hWnd != nullptr) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) // the outer loop ends too
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    modal = false;
    ending = false;
    // The owner first, so that the activation goes back to it.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, SW_HIDE);
    return modalResult;
}

void CDialog::EndDialog(int result) {
    modalResult = result;
    if (modal) {
        ending = true;
        if (m_hWnd != nullptr)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the loop
    } else if (m_hWnd != nullptr) {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

void CDialog::ShowWindow(bool show) {
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, show ? win::SW_SHOW : SW_HIDE);
}

bool CDialog::IsWindowVisible() const {
    return m_hWnd != nullptr && ::IsWindowVisible(m_hWnd);
}

void CDialog::SetIcon(const Icon& newIcon) {
    icon = newIcon;
    if (m_hWnd == nullptr)
        return;
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.Handle()));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Handle()));
}

std::string CDialog::GetWindowText() const {
    return m_hWnd != nullptr ? Narrow(WindowText(m_hWnd)) : std::string();
}

Control* CDialog::ControlObject(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second.get();
}

HWND CDialog::GetDlgItem(int id) const {
    const Control* control = ControlObject(id);
    return control != nullptr ? control->Handle() : nullptr;
}

std::vector<int> CDialog::ControlIds() const {
    std::vector<int> ids;
    for (const auto& entry : controls)
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
    lineLimits[id] = lines;
    TrimLines(id);
}

void CDialog::TrimLines(int id) {
    const auto limit = lineLimits.find(id);
    HWND hwnd = GetDlgItem(id);
    if (limit == lineLimits.end() || hwnd == nullptr || limit->second <= 0)
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

LRESULT CALLBACK CDialog::RefuseFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclass, DWORD_PTR) {
    switch (msg) {
    case WM_SETFOCUS: {
        // Never shown to the control: it reports no focus change and shows no caret.
        HWND previous = reinterpret_cast<HWND>(wParam);
        if (previous != nullptr && previous != hwnd &&
            ::GetAncestor(previous, GA_ROOT) == ::GetAncestor(hwnd, GA_ROOT))
            ::SetFocus(previous);
        else
            ::SetFocus(nullptr);
        return 0;
    }
    case WM_KILLFOCUS:
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, &CDialog::RefuseFocusProc, subclass);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

void CDialog::RefuseFocus(int id) {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return;
    ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) & ~WS_TABSTOP);
    ::SetWindowSubclass(hwnd, &CDialog::RefuseFocusProc, 1, 0);
}

void CDialog::SetAccessibleName(int id, std::string_view name) {
    HWND hwnd = GetDlgItem(id);
    if (hwnd == nullptr)
        return;
    accessibleNames[id] = std::string(name);
    AnnotateName(hwnd, name);
}

std::string CDialog::AccessibleName(int id) const {
    const auto found = accessibleNames.find(id);
    return found == accessibleNames.end() ? std::string() : found->second;
}

Size CDialog::BaseUnits() const {
    const Rect units = MapDialogRect(Rect(0, 0, 4, 8));
    return {units.width(), units.height()};
}

Rect CDialog::MapDialogRect(const Rect& du) const {
    RECT r{du.x(), du.y(), du.x() + du.width(), du.y() + du.height()};
    if (m_hWnd == nullptr || !::MapDialogRect(m_hWnd, &r))
        return {};
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool CDialog::SetTimer(uintptr_t id, unsigned elapse) {
    elapse = std::clamp(elapse, win::USER_TIMER_MINIMUM, win::USER_TIMER_MAXIMUM);
    if (m_hWnd == nullptr || ::SetTimer(m_hWnd, id, elapse, nullptr) == 0)
        return false;
    timers[id] = elapse;
    return true;
}

bool CDialog::KillTimer(uintptr_t id) {
    const auto found = timers.find(id);
    if (found == timers.end())
        return false;
    timers.erase(found);
    return m_hWnd != nullptr && ::KillTimer(m_hWnd, id);
}

int CDialog::TimerInterval(uintptr_t id) const {
    const auto found = timers.find(id);
    return found == timers.end() ? -1 : static_cast<int>(found->second);
}

void CDialog::MapRegisteredMessage(unsigned registeredId, int message) {
    registeredMessages[registeredId] = message;
}

Bitmap CDialog::LoadImageResource(int, Size) const {
    return {};
}
