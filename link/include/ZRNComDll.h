/* ZRNComDll: the link to a ZRN device, on a serial port or through a network
 * gateway.
 *
 * Commands are handed over as bare text; the library frames them, writes them
 * from a worker thread of its own and reports every acknowledgement and reply.
 *
 * Two interfaces. The four functions fnZrnOpen, fnZrnSend, fnZrnClose and
 * fnZrnLog keep one default link per process and tell one window. The link
 * handles below (fnZrnOpenLink and its companions) open any number of links in
 * one process, each with its own worker, callback and traffic log, and say why
 * an open failed.
 *
 * Port names, for both: a device path ("/dev/ttyUSB0") or a COM name ("COM3",
 * "\\.\COM12"); "tcp://HOST:PORT", a raw byte stream to a network gateway
 * (ser2net's "tcp" accepter); "rfc2217://HOST:PORT", telnet with the COM port
 * option (RFC 2217), which also sets 9600 baud, 8 data bits, no parity, 1 stop
 * bit and no flow control at the gateway and checks its answers. HOST is a
 * name, an IPv4 address or an IPv6 address in brackets ("[::1]"). A network
 * name may end in "?timeout=SECONDS" for the connect and negotiation time-out
 * (5 s when not given). Neither network form is encrypted or authenticated.
 *
 * Threads of the four functions: call them from one thread only (the caller's user
 * interface thread). Notifications arrive on the library's worker thread
 * through ZrnWindow.sendMessage (on Windows: SendMessageA to the window), which
 * must not return before the message has been handled. A notification handler may call fnZrnSend,
 * fnZrnOpen and fnZrnClose; it must never wait for the worker.
 *
 * fnZrnClose never waits for the worker. Once it has returned no new
 * notification starts, but one that had already begun may still complete, so
 * a window must stay valid until any such call has returned.
 *
 * Ownership: fnZrnSend copies its text. The text in a notification's lParam
 * belongs to the library and is freed as soon as sendMessage returns.
 */
#ifndef ZRNCOMDLL_H
#define ZRNCOMDLL_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef _WIN32
#include <windows.h>
#if defined(ZRNCOMDLL_BUILD)
#define ZRNCOMDLL_API __declspec(dllexport)
#else
#define ZRNCOMDLL_API __declspec(dllimport)
#endif
#elif defined(ZRNCOMDLL_BUILD)
#define ZRNCOMDLL_API __attribute__((visibility("default")))
#else
#define ZRNCOMDLL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#ifndef _WIN32
#define WM_USER 0x0400
#endif
#define WM_ZRN_LINK (WM_USER + 1)

/* wParam of a WM_ZRN_LINK notification */
#define LINK_DATA 0   /* a reply beginning with "D", whatever came before */
#define LINK_ACK 6    /* ACK read; lParam is the last command written, or null */
#define LINK_NAK 21   /* NAK read; lParam as for LINK_ACK */
#define LINK_REPLY 82 /* the first accepted reply after an ACK */

#ifndef _WIN32
/* On Windows HWND is the real window handle and each notification is a
   SendMessageA(hwnd, WM_ZRN_LINK, code, text) from the worker thread. */
typedef struct ZrnWindow {
    /* Called on the worker thread; must not return before the message has been handled
       (the lParam text is freed as soon as it returns). */
    intptr_t (*sendMessage)(struct ZrnWindow* self, unsigned msg, uintptr_t wParam,
                            intptr_t lParam);
} ZrnWindow;
typedef ZrnWindow* HWND;
#endif

/* Opens the port of definition: a port name, then ":" and the line settings
   ("/dev/ttyUSB0:9600,N,8,1"; on Windows "COM1:9600,N,8,1", also as
   \\.\COM12:9600,N,8,1; "rfc2217://gw:7000:9600,N,8,1"), and starts the worker;
   1 when a port is open and a worker runs for it after the call.
   Always makes hwnd the window that is told. A network open waits for the
   connection, up to its time-out. */
ZRNCOMDLL_API int fnZrnOpen(HWND hwnd, const char* definition);
/* Queues a copy of text; 1 when queued, 0 when out of memory. */
ZRNCOMDLL_API int fnZrnSend(const char* text);
/* Closes the port without waiting for the worker and empties the queue; always 1. */
ZRNCOMDLL_API int fnZrnClose(void);
/* Closes any traffic log, then starts a new one when enable is true; 1 when a log is open. */
ZRNCOMDLL_API int fnZrnLog(bool enable);

/* ---- Link handles ------------------------------------------------------ */

/* Why an open failed. */
#define ZRN_OK 0
#define ZRN_ERROR_NO_SUCH_PORT 1    /* no device of that name */
#define ZRN_ERROR_PERMISSION 2      /* the user may not open it (the message names the fix) */
#define ZRN_ERROR_BUSY 3            /* another program holds the port */
#define ZRN_ERROR_NOT_SERIAL 4      /* the name is not a serial port */
#define ZRN_ERROR_REFUSED 5         /* nobody listens at that network address */
#define ZRN_ERROR_UNKNOWN_HOST 6    /* the host name does not resolve */
#define ZRN_ERROR_TIMED_OUT 7       /* no connection, or no finished negotiation, in time */
#define ZRN_ERROR_LOST 8            /* the connection ended while it was being set up */
#define ZRN_ERROR_BAD_NAME 9        /* not a port name of a form above */
#define ZRN_ERROR_SETTING_REFUSED 10 /* an RFC 2217 gateway refused the baud rate or framing */
#define ZRN_ERROR_PROTOCOL 11       /* the far end does not speak the COM port option */
#define ZRN_ERROR_NO_MEMORY 12
#define ZRN_ERROR_SYSTEM 13         /* any other failure of the system; the message says which */

/* The port went away after it had opened: a gateway closed the connection, a
   network failed, an adapter was unplugged. Told to a handle's callback once,
   with the reason as text; the link stays open (and silent) until closed.
   Never sent to the window of the four functions, whose callers see a lost
   port as a silent one. */
#define LINK_LOST 99

typedef struct ZrnLinkHandle ZrnLinkHandle;

/* Called on the handle's worker thread for every notification: code is
   LINK_DATA, LINK_ACK, LINK_NAK, LINK_REPLY (as wParam above) or LINK_LOST,
   text as lParam above (may be null; freed as soon as the call returns).
   It may call fnZrnSendLink on any handle and fnZrnCloseLink on its own; it
   must not wait for a thread that may close this handle. */
typedef void (*ZrnLinkCallback)(void* user, unsigned code, const char* text);

typedef struct ZrnOpenError {
    int code;          /* ZRN_OK or a ZRN_ERROR_ value */
    char message[256]; /* a sentence naming the port and the cause; "" when code is ZRN_OK */
} ZrnOpenError;

/* Opens the port (a port name, or a definition as for fnZrnOpen; a bare name
   gets 9600,N,8,1) and starts its worker. The handle, or null with *error
   filled in (error may be null). callback may be null (nothing is told);
   user is handed back to it. A network open waits for the connection and
   negotiation, up to the time-out. Any thread may call it. */
ZRNCOMDLL_API ZrnLinkHandle* fnZrnOpenLink(const char* port, ZrnLinkCallback callback, void* user,
                                           ZrnOpenError* error);
/* Queues a copy of text for the handle's port; 1 when queued, 0 when out of
   memory or link or text is null. Any thread may call it. */
ZRNCOMDLL_API int fnZrnSendLink(ZrnLinkHandle* link, const char* text);
/* Closes the port, empties the queue and frees the handle; null is ignored.
   Called on any other thread than the handle's worker, it returns once no
   notification of the handle is under way or can start, so user may be freed
   then. Called from the handle's own callback, it does not wait for itself. */
ZRNCOMDLL_API void fnZrnCloseLink(ZrnLinkHandle* link);
/* As fnZrnLog, for the handle's own traffic log (its file name carries the
   port); 1 when a log is open afterwards. */
ZRNCOMDLL_API int fnZrnLogLink(ZrnLinkHandle* link, bool enable);
/* Why the last fnZrnOpen of this process failed: its code, and the message in
   *error when error is not null; ZRN_OK after a successful one. */
ZRNCOMDLL_API int fnZrnOpenError(ZrnOpenError* error);
/* A short English name of a ZRN_ERROR_ code ("connection refused"); never null. */
ZRNCOMDLL_API const char* fnZrnErrorName(int code);

#ifdef __cplusplus
}
#endif

#endif
