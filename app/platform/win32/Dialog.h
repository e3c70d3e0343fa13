#pragma once
// Dialogs built from template tables as in-memory dialog resources
// (CreateDialogIndirectParamW): every control found by its identifier, every
// notification handed to the dialog's event table.
#include "platform/DialogTemplate.h"
#include "platform/EventTable.h"
#include "platform/Menu.h"
#include "platform/Types.h"
#include "platform/win32/Controls.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The dialog's real system menu; what is appended reaches the dialog as
// WM_SYSCOMMAND. Items() lists the Close command and what was appended.
class WindowMenu {
public:
    void AppendMenu(unsigned flags, unsigned id, std::string_view text);
    const std::vector<MenuItem>& Items() const { return items; }
    void Attach(HWND window); // appends what came before the window existed

private:
    void AppendNative(const MenuItem& item) const;

    HWND window = nullptr;
    std::deque<std::string> texts; // owns the appended texts
    std::vector<MenuItem> items;
};

// A window of the program: the owner of dialogs and message boxes.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND m_hWnd = nullptr;
};

class CDialog : public CWnd {
public:
    CDialog(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the window and its controls and runs OnInitDialog, once; the
    // window stays hidden until DoModal or ShowWindow.
    bool Create();
    // Shows the dialog with the owner disabled and runs a message loop until EndDialog.
    int DoModal();
    // Ends a modal run with this result; a modeless dialog is hidden.
    void EndDialog(int result);
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    void SetIcon(const Icon& icon); // title bar, task bar and Alt+Tab
    std::string GetWindowText() const;

    HWND GetDlgItem(int id) const;
    template <class T> T* Item(int id) const { return dynamic_cast<T*>(ControlObject(id)); }
    Control* ControlObject(int id) const;
    ControlKind KindOf(int id) const;
    std::vector<int> ControlIds() const;
    Rect TemplateRect(int id) const; // in dialog units

    void SetDlgItemText(int id, std::string_view text);
    std::string GetDlgItemText(int id) const;
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    void ShowItem(int id, bool show);
    bool IsItemShown(int id) const;
    void GotoDlgCtrl(int id);
    void SetReadOnly(int id, bool readOnly);
    // List boxes, as LB_RESETCONTENT, LB_INSERTSTRING, LB_GETCOUNT, LB_GETTEXT,
    // LB_SETCURSEL and LB_GETCURSEL do (the current selection -1 when none).
    void ListBoxReset(int id);
    void ListBoxInsert(int id, int row, std::string_view text);
    int ListBoxCount(int id) const;
    std::string ListBoxText(int id, int row) const;
    void ListBoxSetCurSel(int id, int row);
    int ListBoxGetCurSel(int id) const;
    // Tab controls: a tab with this label at the end.
    void AddTab(int id, std::string_view label);
    int TabCount(int id) const;
    void LimitText(int id, int maxChars); // what the user can type into an edit
    bool ItemHasFocus(int id) const;
    bool IsReadOnly(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    // Multi-line edits.
    // Adds text on a line of its own (no line break when the box is empty).
    void AppendLine(int id, std::string_view text);
    int GetLineCount(int id) const;
    void LineScroll(int id, int lines);
    int FirstVisibleLine(int id) const;
    // Keeps only the newest `lines` lines, dropping the oldest; no undo history.
    void LimitLines(int id, int lines);
    // A control that hands the focus straight back to the control that had it.
    void RefuseFocus(int id);

    // Windows names a control from the static text before it; this names those
    // that have none (a dynamic annotation, where COM runs on the thread).
    void SetAccessibleName(int id, std::string_view name);
    std::string AccessibleName(int id) const;

    Size BaseUnits() const;
    Rect MapDialogRect(const Rect& du) const;
    bool UpdateData(bool saveAndValidate = true);

    // Windows timers: the period is held within 10 ms .. 0x7FFFFFFF ms.
    bool SetTimer(uintptr_t id, unsigned elapse);
    bool KillTimer(uintptr_t id);
    int TimerInterval(uintptr_t id) const; // -1 when not running

    // Shows a menu resource's popup with its first command as the default item; the
    // chosen command reaches the event table as a click on that identifier.
    void TrackMenu(const MenuTemplate& menu, Point screenPos);

    WindowMenu& GetSystemMenu() { return systemMenu; }
    // The window menu as a popup at screenPos (the real one opens from the title bar).
    void ShowSystemMenu(Point screenPos);

    // Hands a message or notification to the dialog; true when a handler took it.
    bool Deliver(Notify& n);
    intptr_t SendMessage(int id, int code, uintptr_t wParam = 0, intptr_t lParam = 0);

    // A message registered with RegisterWindowMessage arriving at the window
    // goes to the event table as window message `message`, its result returned.
    void MapRegisteredMessage(unsigned registeredId, int message);
    // While refused, messages from WM_USER up (the link's) answer 0 without
    // reaching the event table: the link is detached from a dialog on its way out.
    void RefuseUserMessages(bool refuse) { refusingUserMessages = refuse; }

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual bool OnMessage(Notify&) { return false; } // the dialog's event table
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(2); }
    virtual Bitmap LoadImageResource(int id, Size size) const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RefuseFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR subclass, DWORD_PTR data);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotifyMessage(const NMHDR& header);
    std::vector<WORD> BuildTemplate() const;
    void WrapControls();
    void TrimLines(int id);

    const DialogTemplate& dialogTemplate;
    CWnd* parent;
    bool created = false;
    bool initResult = true;
    bool destroying = false;
    bool modal = false;
    bool ending = false;
    bool refusingUserMessages = false;
    int modalResult = 0;
    std::map<int, std::unique_ptr<Control>> controls;
    std::map<uintptr_t, unsigned> timers;
    std::map<unsigned, int> registeredMessages;
    std::map<int, int> lineLimits;
    std::map<int, std::string> accessibleNames;
    std::vector<Bitmap> images; // shown by picture controls, which do not own them
    Icon icon;
    WindowMenu systemMenu;
};
