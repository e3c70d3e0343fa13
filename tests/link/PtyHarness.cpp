#include "PtyHarness.h"

#include "LogPlace.h"
#include "RawPty.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace zrntest {

Pty::Pty() {
    int masterFd = -1;
    int slaveFd = -1;
    const auto path = OpenRawPty(masterFd, slaveFd);
    if (!path)
        throw std::runtime_error("openpty failed");
    master.reset(masterFd);
    slave.reset(slaveFd);
    slavePath = *path;
}

std::string Pty::Definition(const std::string& settings) const {
    return slavePath + ":" + settings;
}

void Pty::Write(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master.get(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            pollfd p{master.get(), POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

std::string Pty::ReadUntilCrs(int count, std::chrono::milliseconds bound) const {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    int crs = 0;
    while (crs < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{master.get(), POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char c;
        while (crs < count && ::read(master.get(), &c, 1) == 1) {
            got.push_back(c);
            crs += c == '\r';
        }
    }
    return got;
}

RecordingWindow::RecordingWindow() : ZrnWindow{&RecordingWindow::Record} {}

intptr_t RecordingWindow::Record(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    if (msg != WM_ZRN_LINK)
        return 0;
    Notice notice{wParam, std::nullopt};
    if (lParam != 0)
        notice.lParam = reinterpret_cast<const char*>(lParam);
    static_cast<RecordingWindow*>(self)->OnNotice(notice);
    return 0;
}

void RecordingWindow::OnNotice(const Notice& notice) {
    // Notified under the lock: once a waiter has seen the notice, this call no
    // longer touches the window, so the test may destroy it.
    const std::lock_guard lock(mutex);
    notices.push_back(notice);
    arrived.notify_all();
}

std::vector<Notice> RecordingWindow::WaitFor(std::size_t count, std::chrono::milliseconds bound) {
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, bound, [&] { return notices.size() >= count; });
    return notices;
}

std::vector<Notice> RecordingWindow::Notices() {
    const std::lock_guard lock(mutex);
    return notices;
}

// An unlinked file in place of standard error.
struct DebugCapture::Redirect {
    zrn::UniqueFd file;
    zrn::UniqueFd savedStderr;
};

DebugCapture::DebugCapture() : redirect(std::make_unique<Redirect>()) {
    char path[] = "/tmp/zrn-debug-XXXXXX";
    redirect->file.reset(::mkstemp(path));
    ::unlink(path);
    std::fflush(stderr);
    redirect->savedStderr.reset(::dup(STDERR_FILENO));
    ::dup2(redirect->file.get(), STDERR_FILENO);
    ::setenv("ZRNCOM_DEBUG", "1", 1);
}

DebugCapture::~DebugCapture() {
    ::dup2(redirect->savedStderr.get(), STDERR_FILENO);
}

std::string DebugCapture::Text() const {
    std::string text;
    char buffer[4096];
    ssize_t n;
    off_t at = 0;
    while ((n = ::pread(redirect->file.get(), buffer, sizeof buffer, at)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
    return text;
}

void Pause() {
    std::this_thread::sleep_for(1ms);
}

std::string LogDirectory() {
    return zrn::ProgramDirectory().value_or("");
}

int WorkerCount() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
            std::string name;
            std::getline(comm, name);
            count += name == "ZRNComDllThread";
        }
        ::closedir(dir);
    }
    return count;
}

bool WaitForNoWorkers(std::chrono::milliseconds bound) {
    // A worker ends within one read time-out of its close.
    return WaitUntil([] { return WorkerCount() == 0; }, bound);
}

} // namespace zrntest
