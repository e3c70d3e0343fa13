#include "QueuedWindow.h"

namespace zrn {

QueuedWindow::QueuedWindow() : ZrnWindow{&QueuedWindow::Notify} {}

// Called on the worker's thread.
intptr_t QueuedWindow::Notify(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    if (msg == WM_ZRN_LINK)
        static_cast<QueuedWindow*>(self)->queue_.Push(static_cast<unsigned>(wParam),
                                                      reinterpret_cast<const char*>(lParam));
    return 0;
}

} // namespace zrn
