// Window creation: the in-memory template, the controls' objects, modal runs,
// timers and the dialog's units.
#include "platform/win32/DialogState.h"

#include "platform/Win.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <clocale>
#include <memory>

namespace {

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

// CDialog

DialogStateOwner::DialogStateOwner(std::unique_ptr<DialogState> state) : state(std::move(state)) {}

DialogStateOwner::~DialogStateOwner() = default;

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* parent)
    : DialogStateOwner(std::make_unique<DialogState>(dialogTemplate, parent)) {
    state->systemMenu.AppendMenu(win::MF_STRING, static_cast<unsigned>(win::SC_CLOSE),
                                 "&Close\tAlt+F4");
}

CDialog::~CDialog() {
    // Focus changes while the window goes must not reach handlers of a dialog
    // that is already half gone.
    state->destroying = true;
    if (m_hWnd != nullptr) {
        for (const auto& entry : state->timers)
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
    t.Word(static_cast<unsigned>(state->dialogTemplate.controls.size()));
    t.Word(0);
    t.Word(0);
    t.Word(static_cast<unsigned>(state->dialogTemplate.cx));
    t.Word(static_cast<unsigned>(state->dialogTemplate.cy));
    t.Word(0); // no menu
    t.Word(0); // the dialog class
    t.Text(state->dialogTemplate.caption);
    t.Word(static_cast<unsigned>(state->dialogTemplate.pointSize));
    t.Word(FW_NORMAL);
    t.Word(MAKEWORD(FALSE, DEFAULT_CHARSET)); // italic, charset
    t.Text(state->dialogTemplate.font);
    for (const ControlTemplate& c : state->dialogTemplate.controls) {
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
    if (state->created)
        return true;
    state->created = true;
    InitCommonControlsOnce();
    const std::vector<WORD> resource = BuildTemplate();
    HWND owner = state->parent != nullptr ? state->parent->m_hWnd : nullptr;
    HWND hwnd = ::CreateDialogIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(resource.data()), owner,
        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr && state->initResult;
}

// Controls are the dialog's children in template order; each gets its object,
// its image and the settings a template cannot carry.
void CDialog::WrapControls() {
    HWND child = ::GetWindow(m_hWnd, GW_CHILD);
    for (const ControlTemplate& c : state->dialogTemplate.controls) {
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
                state->images.push_back(bitmap);
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
        state->controls[c.id] = std::move(control);
    }
}

int CDialog::DoModal() {
    state->modal = true;
    state->ending = false;
    state->modalResult = 0;
    if (!Create() && m_hWnd == nullptr) {
        state->modal = false;
        return -1;
    }
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    if (!state->ending)
        ::ShowWindow(m_hWnd, win::SW_SHOW);
    MSG msg{};
    while (!state->ending && m_hWnd != nullptr) {
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
    state->modal = false;
    state->ending = false;
    // The owner first, so that the activation goes back to it.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, SW_HIDE);
    return state->modalResult;
}

void CDialog::EndDialog(int result) {
    state->modalResult = result;
    if (state->modal) {
        state->ending = true;
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
    state->icon = newIcon;
    if (m_hWnd == nullptr)
        return;
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state->icon.Handle()));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state->icon.Handle()));
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
    state->timers[id] = elapse;
    return true;
}

bool CDialog::KillTimer(uintptr_t id) {
    const auto found = state->timers.find(id);
    if (found == state->timers.end())
        return false;
    state->timers.erase(found);
    return m_hWnd != nullptr && ::KillTimer(m_hWnd, id);
}

int CDialog::TimerInterval(uintptr_t id) const {
    const auto found = state->timers.find(id);
    return found == state->timers.end() ? -1 : static_cast<int>(found->second);
}

void CDialog::RefuseUserMessages(bool refuse) {
    state->refusingUserMessages = refuse;
}

void CDialog::MapRegisteredMessage(unsigned registeredId, int message) {
    state->registeredMessages[registeredId] = message;
}

Bitmap CDialog::LoadImageResource(int, Size) const {
    return {};
}
