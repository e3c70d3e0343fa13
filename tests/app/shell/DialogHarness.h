#pragma once
// The main dialog under test: the link replaced by a recorder, the PC clock by
// a hand-set one, the real timers stopped so that only the test ticks.
#include "EnvGuard.h"
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

// What the dialog handed to the link, in order: "open <definition>", "close",
// or the command text.
struct LinkRecorder {
    static inline std::vector<std::string> calls;
    static inline int openResult = 1;
    static inline std::string openFailure; // the link's reason when an open fails

    static int Open(HWND, const char* definition) {
        calls.push_back(std::string("open ") + definition);
        return openResult;
    }
    static int Send(const char* text) {
        calls.emplace_back(text);
        return 1;
    }
    static int Close() {
        calls.emplace_back("close");
        return 1;
    }
    static int Log(bool) { return 0; }
    static int OpenError(ZrnOpenError* error) {
        const int code = openResult == 1 || openFailure.empty() ? ZRN_OK : ZRN_ERROR_REFUSED;
        if (error != nullptr)
            std::snprintf(error->message, sizeof error->message, "%s",
                          code == ZRN_OK ? "" : openFailure.c_str());
        return code;
    }
};

class DialogHarness {
public:
    explicit DialogHarness(const char* commandLine = "ZRNcom", int64_t start = 1'780'000'000)
        : now(start), ports("ZRNCOM_PORTS", "/dev/zrnA:/dev/zrnB:/dev/zrnC") {
        savedLink = Link();
        Link() = {&LinkRecorder::Open, &LinkRecorder::Send, &LinkRecorder::Close,
                  &LinkRecorder::Log, &LinkRecorder::OpenError};
        LinkRecorder::calls.clear();
        LinkRecorder::openResult = 1;
        LinkRecorder::openFailure.clear();
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
        Link() = savedLink;
    }

    CZRNcomDlg& dlg() { return *dialog; }
    void Tick(uintptr_t timer = TIMER_ONE_SEC) {
        dialog->SendMessage(kWindow, win::WM_TIMER, timer);
    }
    void LinkNotify(uintptr_t code, const char* text) {
        dialog->SendMessage(kWindow, WM_ZRN_LINK, code, reinterpret_cast<intptr_t>(text));
    }
    // Everything recorded since the last call.
    std::vector<std::string> Take() { return std::exchange(LinkRecorder::calls, {}); }

    int64_t now;

private:
    EnvGuard ports;
    LinkApi savedLink{};
    PcClockSource savedClock;
    std::unique_ptr<CZRNcomDlg> dialog;
};
