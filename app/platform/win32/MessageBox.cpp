#include "platform/Dialog.h"
#include "platform/NativePrompts.h"
#include "platform/win32/WideText.h"

// The box runs its own message loop, so link notifications sent to the
// dialog are still handled while it is open.
int ShowMessageBox(CWnd* owner, const MessageBoxRequest& request) {
    HWND window = owner != nullptr ? owner->m_hWnd : nullptr;
    return ::MessageBoxW(window, Widen(request.text).c_str(), Widen(request.caption).c_str(),
                         request.flags);
}
