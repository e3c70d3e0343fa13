#pragma once
// Test helpers for the exports: a pseudo-terminal standing in for the device,
// a window that records its notifications, and a capture of the debug output.

#include "ZRNComDll.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zrntest {

using namespace std::chrono_literals;
constexpr auto kWait = 5s; // bound for anything the worker should do at once

class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // "<slave path>:<settings>", as the program passes it.
    std::string Definition(const std::string& settings = "9600,N,8,1") const;
    const std::string& SlavePath() const { return slavePath; }
    int Master() const { return master; }
    // A descriptor of our own on the device side, opened before the link's.
    int Slave() const { return slave; }

    void Write(const std::string& bytes) const;
    // Reads from the device side until `count` CRs arrived or the bound passed.
    std::string ReadUntilCrs(int count, std::chrono::milliseconds bound = kWait) const;

private:
    int master = -1;
    int slave = -1;
    std::string slavePath;
};

struct Notice {
    uintptr_t wParam;
    std::optional<std::string> lParam;
    bool operator==(const Notice&) const = default;
};

class RecordingWindow : public ZrnWindow {
public:
    RecordingWindow();
    // Waits (bounded) until at least `count` notices arrived; returns them all.
    std::vector<Notice> WaitFor(std::size_t count, std::chrono::milliseconds bound = kWait);
    std::vector<Notice> Notices();

protected:
    static intptr_t Record(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam);

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Notice> notices;
};

// Sends the debug output into a file for the life of the object.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::string Text() const;
    // Waits (bounded) until `line` appears in the output.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds bound = kWait) const;

private:
    int savedStderr = -1;
    int file = -1;
};

std::string Frame(const std::string& text);

// Link workers alive in this process (threads named ZRNComDllThread).
int WorkerCount();
// Waits (bounded) until every worker has ended; after that no window is called.
bool WaitForNoWorkers(std::chrono::milliseconds bound = kWait);

} // namespace zrntest
