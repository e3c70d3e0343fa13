/* ZRNComDll: the serial link to a ZRN device.
 *
 * One link per process. Commands are handed over as bare text; the library
 * frames them, writes them from its own worker thread and reports every
 * acknowledgement and reply to one window of the caller.
 *
 * Threads: call the four functions from one thread only (the caller's user
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

/* Opens the port named before the first ":" of definition ("/dev/ttyUSB0:9600,N,8,1";
   on Windows "COM1:9600,N,8,1", also as \\.\COM12:9600,N,8,1)
   and starts the worker; 1 when a port is open and a worker runs for it after the call.
   Always makes hwnd the window that is told. */
ZRNCOMDLL_API int fnZrnOpen(HWND hwnd, const char* definition);
/* Queues a copy of text; 1 when queued, 0 when out of memory. */
ZRNCOMDLL_API int fnZrnSend(const char* text);
/* Closes the port without waiting for the worker and empties the queue; always 1. */
ZRNCOMDLL_API int fnZrnClose(void);
/* Closes any traffic log, then starts a new one when enable is true; 1 when a log is open. */
ZRNCOMDLL_API int fnZrnLog(bool enable);

#ifdef __cplusplus
}
#endif

#endif
