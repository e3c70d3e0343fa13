#pragma once
// What the link's tests need of the system they run on, declared once: the
// POSIX harness (PtyHarness.cpp, a pseudo-terminal) and the Windows one
// (win/WinHarness.cpp, COM1 under wine) both implement it, so the tests that
// both systems run are written once (LinkTest.h).

#include "ZRNComDll.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zrntest {

using namespace std::chrono_literals;
constexpr auto kWait = 5s; // bound for anything the worker should do at once

struct Notice {
    uintptr_t wParam;
    std::optional<std::string> lParam;
    bool operator==(const Notice&) const = default;
};

// What a link handle's callback was told, in order; callbacks arrive on the
// handle's worker thread.
class Recorder {
public:
    // The ZrnLinkCallback; `user` is the Recorder.
    static void Callback(void* user, unsigned code, const char* text);
    // Waits (bounded) until at least `count` notices arrived; returns them all.
    std::vector<Notice> WaitFor(std::size_t count, std::chrono::milliseconds bound = kWait);

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Notice> notices;
};

// One short pause between two looks at something the worker changes. On
// Windows it handles the messages waiting for this thread: notifications are
// sent messages, handled only while the test's thread pumps.
void Pause();
// Looks again, pausing in between, until `done()` or the bound passed; the
// last `done()`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = kWait);

// Sends the library's debug output (standard error, with ZRNCOM_DEBUG set) to
// a file for the life of the object.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();

    std::string Text() const;
    // Waits (bounded) until `line` appears in the output.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds bound = kWait) const;

private:
    struct Redirect;
    std::unique_ptr<Redirect> redirect;
};

std::string Frame(const std::string& text);

// The folder the link writes its traffic logs to, with a trailing separator.
std::string LogDirectory();
// The whole content of a file; empty when it cannot be read.
std::string FileText(const std::string& path);

} // namespace zrntest
