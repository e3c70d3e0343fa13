#include "platform/LinkWindow.h"

#include "platform/Dialog.h"

// The link library sends its notifications straight to the dialog's window
// (SendMessageA from its worker); Windows runs them on the dialog's thread
// while it waits for messages, and the dialog hands every message from
// WM_USER up to its event table. Detached, the dialog answers them 0 without
// running a handler; once its window is destroyed SendMessage returns 0 at once.
void AttachLink(CDialog& dialog) {
    dialog.RefuseUserMessages(false);
}

void DetachLink(CDialog& dialog) {
    dialog.RefuseUserMessages(true);
}

HWND LinkTarget(CDialog& dialog) {
    return dialog.m_hWnd;
}
