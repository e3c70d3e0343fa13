#pragma once
// The link's test harness under wine: the device side of COM1 (a TCP relay to
// the pseudo-terminal behind it) and a real window that records the link's
// notifications.
//
// Notifications are sent messages: they are handled only while the test's
// thread pumps messages, which every wait here does (Pause).

#include "LinkHarness.h"
#include "ZRNComDll.h"

#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zrntest {

// Handles every message waiting for this thread, sent ones included.
void PumpMessages();

// The device side of COM1.
class Line {
public:
    Line();
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // "COM1:<settings>", as the program passes it.
    static std::string Definition(const std::string& settings = "9600,N,8,1");
    void Write(const std::string& bytes) const;
    // Reads until `count` CRs arrived or the bound passed, pumping messages.
    std::string ReadUntilCrs(int count, std::chrono::milliseconds bound = kWait) const;
    // "<baud> <stop bits>" as the port's user set the line ("9600 1").
    static std::string Settings();

private:
    std::uintptr_t socket;
};

// A hidden message-only window on the test's thread.
class RecordingWindow {
public:
    RecordingWindow();
    virtual ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return hwnd; }
    // Pumps (bounded) until at least `count` notices arrived; returns them all.
    std::vector<Notice> WaitFor(std::size_t count, std::chrono::milliseconds bound = kWait);
    const std::vector<Notice>& Notices() const { return notices; }

protected:
    virtual void OnNotice(const Notice& notice) { notices.push_back(notice); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    std::vector<Notice> notices;
};

// The exports against COM1: a line, a window and the debug output for each
// test.
class LinkExports : public ::testing::Test {
protected:
    void TearDown() override {
        fnZrnClose();
        // A notification begun before the close is handled, not left waiting.
        WaitUntil([] { return false; }, 50ms);
    }
    // After a close: the worker's thread cannot be told from wine's own, so
    // this gives it the time a read and a notification take, handling what it
    // sends meanwhile.
    static bool WorkerEnded() {
        WaitUntil([] { return false; }, 200ms);
        return true;
    }

    DebugCapture debug;
    Line line;
    RecordingWindow window;
};

} // namespace zrntest
