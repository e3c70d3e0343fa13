#include "PtyHarness.h"

#include "FrameCrc.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zrntest {

Pty::Pty() {
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath = name;
    // The device side must not echo or translate what the link writes.
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
}

Pty::~Pty() {
    ::close(master);
    ::close(slave);
}

std::string Pty::Definition(const std::string& settings) const {
    return slavePath + ":" + settings;
}

void Pty::Write(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            pollfd p{master, POLLOUT, 0};
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
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char c;
        while (crs < count && ::read(master, &c, 1) == 1) {
            got.push_back(c);
            crs += c == '\r';
        }
    }
    return got;
}

RecordingWindow::RecordingWindow() : ZrnWindow{&RecordingWindow::Record} {}

intptr_t RecordingWindow::Record(ZrnWindow* self, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    auto* window = static_cast<RecordingWindow*>(self);
    if (msg != WM_ZRN_LINK)
        return 0;
    Notice notice{wParam, std::nullopt};
    if (lParam != 0)
        notice.lParam = reinterpret_cast<const char*>(lParam);
    // Notified under the lock: once a waiter has seen the notice, this call no
    // longer touches the window, so the test may destroy it.
    const std::lock_guard lock(window->mutex);
    window->notices.push_back(std::move(notice));
    window->arrived.notify_all();
    return 0;
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

DebugCapture::DebugCapture() {
    char path[] = "/tmp/zrn-debug-XXXXXX";
    file = ::mkstemp(path);
    ::unlink(path);
    std::fflush(stderr);
    savedStderr = ::dup(STDERR_FILENO);
    ::dup2(file, STDERR_FILENO);
    ::setenv("ZRNCOM_DEBUG", "1", 1);
}

DebugCapture::~DebugCapture() {
    ::dup2(savedStderr, STDERR_FILENO);
    ::close(savedStderr);
    ::close(file);
}

std::string DebugCapture::Text() const {
    std::string text;
    char buffer[4096];
    ssize_t n;
    off_t at = 0;
    while ((n = ::pread(file, buffer, sizeof buffer, at)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
    return text;
}

bool DebugCapture::WaitForLine(const std::string& line, std::chrono::milliseconds bound) const {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    // The output is a file the worker appends to: look again until it shows.
    while (Text().find(line) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

std::string Frame(const std::string& text) {
    return zrn::BuildFrame(text);
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
    const auto deadline = std::chrono::steady_clock::now() + bound;
    // A worker ends within one read time-out of its close.
    while (WorkerCount() > 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace zrntest
