#pragma once
// The link notification to the registered window, on the worker thread.

#include "ZRNComDll.h"

#include <cstdint>

namespace zrn {

// WM_ZRN_LINK with `code` and `text` (may be null); returns once the window
// has handled it, after which `text` may be freed.
void SendToWindow(HWND window, uintptr_t code, const char* text);

} // namespace zrn
