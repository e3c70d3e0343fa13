#pragma once
// Test helpers for the DLL under wine: the device side of COM1 (a TCP relay to
// the pseudo-terminal behind it), a real window that records the link's
// notifications, and a capture of the debug output.
//
// Notifications are sent messages: they are handled only while the test's
// thread pumps messages, which every wait here does.

#include "ZRNComDll.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zrntest {

using namespace std::chrono_literals;
constexpr auto kWait = 5s; // bound for anything the worker should do at once

// Handles every message waiting for this thread, sent ones included.
void PumpMessages();
// Pumps messages until `done()` or the bound passed; the last `done()`.
template <typename Done> bool PumpUntil(Done done, std::chrono::milliseconds bound = kWait) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

// The device side of COM1.
class Line {
public:
    Line();
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    void Write(const std::string& bytes) const;
    // Reads until `count` CRs arrived or the bound passed, pumping messages.
    std::string ReadUntilCrs(int count, std::chrono::milliseconds bound = kWait) const;
    // "<baud> <stop bits>" as the port's user set the line ("9600 1").
    static std::string Settings();

private:
    std::uintptr_t socket;
};

struct Notice {
    WPARAM wParam;
    std::optional<std::string> lParam;
    bool operator==(const Notice&) const = default;
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

// Sends the library's debug output (standard error, with ZRNCOM_DEBUG set) to
// a file for the life of the object.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::string Text() const;
    bool WaitForLine(const std::string& line, std::chrono::milliseconds bound = kWait) const;

private:
    std::string path;
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE savedError = nullptr;
};

std::string Frame(const std::string& text);

// The folder of the loaded ZRNComDll.dll, with a trailing backslash.
std::string LibraryDirectory();

} // namespace zrntest
