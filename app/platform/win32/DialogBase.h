#pragma once
// The Win32 backend's part of platform/Dialog.h: the window a dialog is and
// its system menu.
#include "platform/Menu.h"
#include "platform/Types.h"
#include "platform/win32/Controls.h"

#include <deque>
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

// A dialog is a window of its own; its controls are child windows.
using DialogWindow = CWnd;
using DialogItem = HWND;
using DialogControl = Control;
