#include "WindowMessage.h"

namespace zrn {

void SendToWindow(HWND window, uintptr_t code, const char* text) {
    // A window destroyed meanwhile makes this fail at once; the result means nothing.
    ::SendMessageA(window, WM_ZRN_LINK, code, reinterpret_cast<LPARAM>(text));
}

} // namespace zrn
