#pragma once
// The window the link library tells about frames, port changes and errors:
// its notifications reach the dialog's event table as window messages.
#include "ZRNComDll.h"

class CDialog;

// From here on the link's notifications go to the dialog.
void AttachLink(CDialog& dialog);
// From here on the link's worker gets its answer at once; call before the dialog goes.
void DetachLink(CDialog& dialog);
// The handle to give the link library when opening a port.
HWND LinkTarget(CDialog& dialog);
