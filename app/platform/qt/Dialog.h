#pragma once
// Dialogs built from template tables, as Windows builds them from dialog
// resources: every control found by its identifier, every notification handed
// to the dialog's event table.
#include "platform/Controls.h"
#include "platform/DialogTemplate.h"
#include "platform/EventTable.h"
#include "platform/Menu.h"
#include "platform/Types.h"

#include <QDialog>
#include <QFont>
#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QTimer;
class QToolButton;

// The font that stands in for a template's font, and the dialog base units
// Windows derives from it: the average width of "A".."Z" "a".."z" and the height.
QFont DialogFont(std::string_view face, int pointSize);
QSize DialogBaseUnits(const QFont& font);

// The menu opened from the small button at the top-left and with Alt+Space;
// its commands reach the dialog as WM_SYSCOMMAND.
class WindowMenu {
public:
    void AppendMenu(unsigned flags, unsigned id, std::string_view text);
    const std::vector<MenuItem>& Items() const { return items; }

private:
    std::deque<std::string> texts; // owns the appended texts
    std::vector<MenuItem> items;
};

class CDialog : public QDialog {
public:
    CDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~CDialog() override;

    // Builds the controls and runs OnInitDialog, once.
    bool Create();
    int DoModal();
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const;
    template <class T> T* Item(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    ControlKind KindOf(int id) const;
    std::vector<int> ControlIds() const;
    QRect TemplateRect(int id) const; // in dialog units

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
    // A control that hands the focus straight back to the widget that had it.
    void RefuseFocus(int id);

    // The name a screen reader gives a control; controls are first named from
    // their labels, and this names those that have none.
    void SetAccessibleName(int id, std::string_view name);
    // The icon of the title bar and the task switcher.
    void SetIcon(const Icon& icon) { setWindowIcon(icon); }

    QSize BaseUnits() const { return baseUnits; }
    QRect MapDialogRect(const QRect& du) const;
    bool UpdateData(bool saveAndValidate = true);

    // Windows timers: the period is held within 10 ms .. 0x7FFFFFFF ms.
    bool SetTimer(uintptr_t id, unsigned elapse);
    bool KillTimer(uintptr_t id);
    int TimerInterval(uintptr_t id) const; // -1 when not running

    // Shows a menu resource's popup with its first command as the default item; the
    // chosen command reaches the event table as a click on that identifier.
    void TrackMenu(const MenuTemplate& menu, QPoint screenPos);

    WindowMenu& GetSystemMenu() { return systemMenu; }
    void ShowSystemMenu(QPoint screenPos);

    // Hands a message or notification to the dialog; true when a handler took it.
    bool Deliver(Notify& n);
    intptr_t SendMessage(int id, int code, uintptr_t wParam = 0, intptr_t lParam = 0);

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual bool OnMessage(Notify&) { return false; } // the dialog's event table
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(2); }
    virtual QPixmap LoadImageResource(int id, QSize size) const;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Build();
    QWidget* BuildControl(const ControlTemplate& control);
    void Wire(const ControlTemplate& control, QWidget* widget);
    void NameFromLabels(const std::vector<QWidget*>& built);
    void AutoRadio(int id);

    const DialogTemplate& dialogTemplate;
    QSize baseUnits;
    bool created = false;
    bool ending = false;
    bool destroying = false;
    std::map<int, QWidget*> controls; // children of the dialog
    std::map<uintptr_t, QTimer*> timers;
    std::vector<int> refusingFocus;
    WindowMenu systemMenu;
    QToolButton* systemMenuButton = nullptr;
    QMetaObject::Connection focusConnection;
};
