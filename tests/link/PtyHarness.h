#pragma once
// The link's test harness on POSIX: a pseudo-terminal standing in for the
// device, a window that records its notifications, and the link's workers
// seen as threads of this process.

#include "LinkHarness.h"
#include "UniqueFd.h"
#include "ZRNComDll.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

namespace zrntest {

class Pty {
public:
    Pty();

    // "<slave path>:<settings>", as the program passes it.
    std::string Definition(const std::string& settings = "9600,N,8,1") const;
    const std::string& SlavePath() const { return slavePath; }
    int Master() const { return master.get(); }
    // A descriptor of our own on the device side, opened before the link's.
    int Slave() const { return slave.get(); }

    void Write(const std::string& bytes) const;
    // Reads from the device side until `count` CRs arrived or the bound passed.
    std::string ReadUntilCrs(int count, std::chrono::milliseconds bound = kWait) const;

private:
    zrn::UniqueFd master;
    zrn::UniqueFd slave;
    std::string slavePath;
};

class RecordingWindow : public ZrnWindow {
public:
    RecordingWindow();
    virtual ~RecordingWindow() = default;

    HWND Handle() { return this; }
    // Waits (bounded) until at least `count` notices arrived; returns them all.
    std::vector<Notice> WaitFor(std::size_t count, std::chrono::milliseconds bound = kWait);
    std::vector<Notice> Notices();

protected:
    // Called on the worker's thread.
    virtual void OnNotice(const Notice& notice);

private:
    static intptr_t Record(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam);

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Notice> notices;
};

// Link workers alive in this process (threads named ZRNComDllThread).
int WorkerCount();
// Waits (bounded) until every worker has ended; after that no window is called.
bool WaitForNoWorkers(std::chrono::milliseconds bound = kWait);

// The exports against a pseudo-terminal: a line, a window and the debug
// output for each test.
class LinkExports : public ::testing::Test {
protected:
    // A notification begun before close may still run: the window must live
    // until the worker has ended.
    void TearDown() override {
        fnZrnClose();
        EXPECT_TRUE(WaitForNoWorkers());
    }
    // After a close: true once the worker can call no window any more.
    static bool WorkerEnded() { return WaitForNoWorkers(); }

    DebugCapture debug;
    Pty line;
    RecordingWindow window;
};

} // namespace zrntest
