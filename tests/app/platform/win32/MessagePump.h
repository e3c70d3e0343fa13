#pragma once
// The test thread's message loop: windows created here only work while it runs.
#include "platform/win32/WinApi.h"

#include <chrono>

// Handles every message waiting for this thread, sent ones included.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs the loop until done() holds; false when the bound passes first.
template <typename Done>
bool PumpUntil(Done done, std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        Pump();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
