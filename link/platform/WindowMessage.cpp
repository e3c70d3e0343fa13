#include "WindowMessage.h"

namespace zrn {

void SendToWindow(HWND window, uintptr_t code, const char* text) {
    if (window->sendMessage != nullptr)
        window->sendMessage(window, WM_ZRN_LINK, code, reinterpret_cast<intptr_t>(text));
}

} // namespace zrn
