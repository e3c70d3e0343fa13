#pragma once
// One interface, two backends: native Win32 on Windows, Qt elsewhere.
#ifdef _WIN32
#include "platform/win32/Dialog.h"
#else
#include "platform/qt/Dialog.h"
#endif
