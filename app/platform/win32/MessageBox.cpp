#include "platform/MessageBox.h"

#include "platform/Dialog.h"
#include "platform/win32/WideText.h"

#include <utility>

namespace {
MessageBoxHook hook;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook replacement) {
    return std::exchange(hook, std::move(replacement));
}

// The box runs its own message loop, so link notifications sent to the
// dialog are still handled while it is open.
int MessageBox(CWnd* owner, std::string_view text, std::string_view caption, unsigned flags) {
    MessageBoxRequest request{
        std::string(text), caption.empty() ? std::string("ZRNcom") : std::string(caption), flags};
    if (hook)
        return hook(request);
    HWND window = owner != nullptr ? owner->m_hWnd : nullptr;
    return ::MessageBoxW(window, Widen(request.text).c_str(), Widen(request.caption).c_str(),
                         flags);
}
