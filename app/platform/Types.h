#pragma once
// The few window-system values panel code handles: screen points, sizes,
// bitmaps, icons, colours and the window that owns a dialog. Each backend
// gives them with the same members.
#ifdef _WIN32
#include "platform/win32/Types.h"
#else
#include "platform/qt/Types.h"
#endif
