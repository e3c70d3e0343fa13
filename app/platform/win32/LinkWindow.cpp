#include "platform/LinkWindow.h"

#include "platform/win32/Dialog.h"

// The link library sends its notifications straight to the dialog's window
// (SendMessageA from its worker); Windows runs them on the dialog's thread
// while it waits for messages, and the dialog hands every message from
// WM_USER up to its event table. Nothing to attach or detach: once the window
// is destroyed SendMessage returns 0 at once.
void AttachLink(CDialog&) {}

void DetachLink(CDialog&) {}

HWND LinkTarget(CDialog& dialog) {
    return dialog.m_hWnd;
}
