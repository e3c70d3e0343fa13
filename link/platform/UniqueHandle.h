#pragma once
// A Win32 handle that closes itself.

#include "UniqueResource.h"

#include <windows.h>

namespace zrn {

struct HandleTraits {
    using Value = HANDLE;
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    // CreateFile fails with INVALID_HANDLE_VALUE, most other calls with null.
    static bool Valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};

using UniqueHandle = UniqueResource<HandleTraits>;

} // namespace zrn
