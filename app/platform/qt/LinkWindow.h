#pragma once
// The program's end of the link: the window the link library tells. Its
// sendMessage behaves as SendMessage does: on the GUI thread it handles the
// message at once; from the worker it posts to the GUI thread and waits until
// the handler has returned. Once detached (the dialog is gone, or the program
// is ending) every call returns 0 at once, so a worker that outlives the
// dialog and the application never blocks or touches freed memory.
#include "platform/LinkWindow.h"

#include <cstdint>
#include <functional>

class QObject;

class LinkWindow : public ZrnWindow {
public:
    using Handler = std::function<intptr_t(unsigned msg, uintptr_t wParam, intptr_t lParam)>;

    // The one window of the process; it is never destroyed.
    static LinkWindow& Instance();

    // The handler runs on the owner's thread; detaching is automatic when the owner is destroyed.
    void Attach(QObject* owner, Handler handler);
    // Detaches the owner's handler; another owner's stays.
    void Detach(QObject* owner);

    // Calls posted to the GUI thread and not yet finished (diagnostics, tests).
    static int PendingCalls();

private:
    LinkWindow();
    static intptr_t Send(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam);
};
