#pragma once
// Dialogs built from template tables, as Windows builds them from dialog
// resources: every control found by its identifier, every notification handed
// to the dialog's event table. One interface, two backends (native Win32 on
// Windows, Qt elsewhere): each keeps its own state in DialogState, so a member
// one backend lacks or declares otherwise does not build.
#include "platform/DialogTemplate.h"
#include "platform/EventTable.h"
#include "platform/Menu.h"
#include "platform/Types.h"
#ifdef _WIN32
#include "platform/win32/DialogBase.h"
#else
#include "platform/qt/DialogBase.h"
#endif

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct DialogState; // each backend's own: platform/<backend>/DialogState.h

// A base of the dialog, so that the state outlives the window while the
// window part is taken down.
class DialogStateOwner {
protected:
    explicit DialogStateOwner(std::unique_ptr<DialogState> state);
    ~DialogStateOwner();

    std::unique_ptr<DialogState> state;
};

class CDialog : private DialogStateOwner, public DialogWindow {
public:
    CDialog(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the controls and runs OnInitDialog, once; the window stays hidden
    // until DoModal or it is shown.
    bool Create();
    // Shows the dialog with the owner disabled and runs until EndDialog.
    int DoModal();
    // Ends a modal run with this result; a modeless dialog is hidden.
    void EndDialog(int result);
    void SetIcon(const Icon& icon); // title bar, task bar and task switcher

    DialogItem GetDlgItem(int id) const;
    template <class T> T* Item(int id) const { return dynamic_cast<T*>(ControlObject(id)); }
    DialogControl* ControlObject(int id) const;
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

    // The name a screen reader gives a control; controls are first named from
    // their labels, and this names those that have none.
    void SetAccessibleName(int id, std::string_view name);

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

    WindowMenu& GetSystemMenu();
    // The window menu as a popup at screenPos.
    void ShowSystemMenu(Point screenPos);

    // Hands a message or notification to the dialog; true when a handler took it.
    bool Deliver(Notify& n);
    intptr_t SendMessage(int id, int code, uintptr_t wParam = 0, intptr_t lParam = 0);

#ifdef _WIN32
    // What Windows has and the Qt backend takes from QDialog.
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    std::string GetWindowText() const;
    int TabCount(int id) const;
    std::string AccessibleName(int id) const;
    // A message registered with RegisterWindowMessage arriving at the window
    // goes to the event table as window message `message`, its result returned.
    void MapRegisteredMessage(unsigned registeredId, int message);
    // While refused, messages from WM_USER up (the link's) answer 0 without
    // reaching the event table: the link is detached from a dialog on its way out.
    void RefuseUserMessages(bool refuse);
#endif

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual bool OnMessage(Notify&) {
        return false;
    } // the dialog's event table
    virtual void OnOK();
    virtual void OnCancel() {
        EndDialog(2);
    }
    virtual Bitmap LoadImageResource(int id, Size size) const;

#ifndef _WIN32
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
#endif

private:
    // Each backend's steps.
#ifdef _WIN32
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RefuseFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR subclass, DWORD_PTR data);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotifyMessage(const NMHDR& header);
    std::vector<WORD> BuildTemplate() const;
    void WrapControls();
    void TrimLines(int id);
#else
    void Build();
    QWidget* BuildControl(const ControlTemplate& control);
    void Wire(const ControlTemplate& control, QWidget* widget);
    void NameFromLabels(const std::vector<QWidget*>& built);
    void AutoRadio(int id);
#endif
};
