#pragma once
// Windows identifiers the program's dialogs are written against, with their
// Windows values so that tables and traces read as they always have.
#include <cstdint>
#ifdef _WIN32
#include "platform/win32/WinApi.h" // windows.h without its macros of these names
#endif

namespace win {

// Dialog results and message-box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDC_STATIC = -1;

// Message-box flags: buttons, icon and default button.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFMASK = 0xF00;

// Window messages. The link's WM_USER + 1 comes from ZRNComDll.h.
inline constexpr int WM_SHOWWINDOW = 0x0018;
inline constexpr int WM_COMMAND = 0x0111;
inline constexpr int WM_SYSCOMMAND = 0x0112;
inline constexpr int WM_TIMER = 0x0113;

// System commands: the low four bits are the system's own.
inline constexpr uintptr_t SC_CLOSE = 0xF060;
inline constexpr uintptr_t SC_MASK = 0xFFF0;

// Notification codes, as a control reports them to its dialog.
inline constexpr int BN_CLICKED = 0;
inline constexpr int STN_CLICKED = 0;
inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int LBN_SELCHANGE = 1;
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RCLICK = -5;
inline constexpr int NM_SETFOCUS = -7;
inline constexpr int NM_KILLFOCUS = -8;
inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int LVN_ITEMACTIVATE = -114;
// Not a Windows code: the list view tells its dialog that a key (an arrow,
// Home, End, Page Up or Down) moved the selection to the row it carries. Windows
// reports such a move only as item changes, which programs that set the
// selection themselves cannot tell from their own.
inline constexpr int LVN_KEYSELECT = -4096;
inline constexpr int DTN_CLOSEUP = -753;
inline constexpr int DTN_DROPDOWN = -754;
inline constexpr int DTN_WMKEYDOWN = -757;
inline constexpr int DTN_DATETIMECHANGE = -759;

// Show-window code.
inline constexpr int SW_SHOW = 5;

// Control styles that change how a template control is built.
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_DISABLED = 0x08000000;
inline constexpr unsigned WS_GROUP = 0x00020000;
inline constexpr unsigned WS_VSCROLL = 0x00200000;
inline constexpr unsigned WS_HSCROLL = 0x00100000;
inline constexpr unsigned BS_DEFPUSHBUTTON = 0x0001;
inline constexpr unsigned ES_MULTILINE = 0x0004;
inline constexpr unsigned ES_NUMBER = 0x2000;
inline constexpr unsigned ES_READONLY = 0x0800;
inline constexpr unsigned SS_NOTIFY = 0x0100;
inline constexpr unsigned SS_NOPREFIX = 0x0080;
inline constexpr unsigned DTS_UPDOWN = 0x0001;
inline constexpr unsigned DTS_SHORTDATEFORMAT = 0x0000;
inline constexpr unsigned DTS_TIMEFORMAT = 0x0009;
inline constexpr unsigned LVS_REPORT = 0x0001;
inline constexpr unsigned LVS_SINGLESEL = 0x0004;
inline constexpr unsigned LVS_SHOWSELALWAYS = 0x0008;
inline constexpr unsigned LVS_EX_GRIDLINES = 0x0001;
inline constexpr unsigned LVS_EX_FULLROWSELECT = 0x0020;
inline constexpr unsigned LBS_SORT = 0x0002;
inline constexpr unsigned LBS_NOTIFY = 0x0001;

// Menu item flags.
inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_SEPARATOR = 0x0800;

// Windows' bounds on a timer's period.
inline constexpr unsigned USER_TIMER_MINIMUM = 0x0000000A;
inline constexpr unsigned USER_TIMER_MAXIMUM = 0x7FFFFFFF;

} // namespace win
