#pragma once
// The main dialog under test: the link replaced by a recorder, the PC clock by
// a hand-set one, the real timers stopped so that only the test ticks.
#include "EnvGuard.h"
#include "LinkRecorder.h"
#include "platform/PcClock.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class DialogHarness {
public:
    explicit DialogHarness(const char* commandLine = "ZRNcom", int64_t start = 1'780'000'000)
        : now(start), ports("ZRNCOM_PORTS", "/dev/zrnA:/dev/zrnB:/dev/zrnC") {
        savedClock = SetPcClock([this] { return now; });
        dialog = std::make_unique<CZRNcomDlg>(commandLine);
        dialog->Create();
        dialog->KillTimer(TIMER_ONE_SEC);
        dialog->KillTimer(TIMER_POLLING);
        LinkRecorder::calls.clear();
    }
    ~DialogHarness() {
        dialog.reset();
        SetPcClock(std::move(savedClock));
    }

    CZRNcomDlg& dlg() { return *dialog; }
    void Tick(uintptr_t timer = TIMER_ONE_SEC) {
        dialog->SendMessage(kWindow, win::WM_TIMER, timer);
    }
    void LinkNotify(uintptr_t code, const char* text) {
        dialog->SendMessage(kWindow, WM_ZRN_LINK, code, reinterpret_cast<intptr_t>(text));
    }
    // Everything recorded since the last call.
    std::vector<std::string> Take() { return LinkRecorder::Take(); }

    int64_t now;

private:
    EnvGuard ports;
    LinkRecorder link;
    PcClockSource savedClock;
    std::unique_ptr<CZRNcomDlg> dialog;
};
