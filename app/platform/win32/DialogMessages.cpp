// Messages and notifications: each reaches the event table as a Notify.
#include "platform/win32/DialogState.h"

#include "platform/Win.h"
#include "platform/win32/WideText.h"

// WindowMenu

WindowMenu& CDialog::GetSystemMenu() {
    return state->systemMenu;
}

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

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        self->WrapControls();
        self->state->systemMenu.Attach(hwnd);
        self->state->initResult = self->OnInitDialog();
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
        self->state->controls.clear();
        return FALSE;
    }
    return self->HandleMessage(msg, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (state->destroying)
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
    if (msg >= WM_USER && state->refusingUserMessages) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    if (msg >= WM_USER && msg < 0xC000) {
        message = static_cast<int>(msg);
    } else if (const auto found = state->registeredMessages.find(msg);
               found != state->registeredMessages.end()) {
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
