#pragma once
// windows.h and commctrl.h for the Win32 backend and for every source that
// also speaks the platform layer's names. Windows defines those names as
// macros (IDOK, MB_OK, WM_TIMER ... and SendMessage, MessageBox, LoadString
// as their A or W function), which would rewrite the platform layer's own
// constants and members. They are undefined here once, before anything
// declares them; windows.h is never read twice, so they stay undefined in
// the rest of the source. Code that needs one of these values uses win::.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <commctrl.h>

// Functions whose names the platform layer and the panels use themselves.
#undef AppendMenu
#undef GetDlgItemText
#undef GetPrivateProfileInt
#undef GetWindowText
#undef LoadBitmap
#undef LoadMenu
#undef LoadString
#undef MessageBox
#undef OutputDebugString
#undef SendMessage
#undef SetDlgItemText
#undef ShellExecute

// The constants of platform/Win.h.
#undef IDOK
#undef IDCANCEL
#undef IDABORT
#undef IDRETRY
#undef IDIGNORE
#undef IDYES
#undef IDNO
#undef IDC_STATIC
#undef MB_OK
#undef MB_OKCANCEL
#undef MB_ABORTRETRYIGNORE
#undef MB_YESNOCANCEL
#undef MB_YESNO
#undef MB_RETRYCANCEL
#undef MB_TYPEMASK
#undef MB_ICONERROR
#undef MB_ICONQUESTION
#undef MB_ICONWARNING
#undef MB_ICONINFORMATION
#undef MB_ICONMASK
#undef MB_DEFBUTTON1
#undef MB_DEFBUTTON2
#undef MB_DEFBUTTON3
#undef MB_DEFMASK
#undef WM_SHOWWINDOW
#undef WM_COMMAND
#undef WM_SYSCOMMAND
#undef WM_TIMER
#undef SC_CLOSE
#undef SC_MASK
#undef BN_CLICKED
#undef STN_CLICKED
#undef EN_SETFOCUS
#undef EN_KILLFOCUS
#undef LBN_SELCHANGE
#undef NM_CLICK
#undef NM_DBLCLK
#undef NM_RCLICK
#undef NM_SETFOCUS
#undef NM_KILLFOCUS
#undef LVN_ITEMCHANGED
#undef LVN_ITEMACTIVATE
#undef DTN_CLOSEUP
#undef DTN_DROPDOWN
#undef DTN_WMKEYDOWN
#undef DTN_DATETIMECHANGE
#undef SW_SHOW
#undef WS_VISIBLE
#undef WS_DISABLED
#undef WS_GROUP
#undef WS_VSCROLL
#undef WS_HSCROLL
#undef BS_DEFPUSHBUTTON
#undef ES_MULTILINE
#undef ES_NUMBER
#undef ES_READONLY
#undef SS_NOTIFY
#undef SS_NOPREFIX
#undef DTS_UPDOWN
#undef DTS_SHORTDATEFORMAT
#undef DTS_TIMEFORMAT
#undef LVS_REPORT
#undef LVS_SINGLESEL
#undef LVS_SHOWSELALWAYS
#undef LVS_EX_GRIDLINES
#undef LVS_EX_FULLROWSELECT
#undef LBS_SORT
#undef LBS_NOTIFY
#undef MF_STRING
#undef MF_SEPARATOR
#undef USER_TIMER_MINIMUM
#undef USER_TIMER_MAXIMUM
