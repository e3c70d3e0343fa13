#include "PortSession.h"

#include <cerrno>
#include <sys/epoll.h>
#include <unistd.h>

namespace zrn {
namespace {

bool WaitOn(int waitSet, std::chrono::milliseconds timeout) {
    epoll_event event{};
    for (;;) {
        const int n = ::epoll_wait(waitSet, &event, 1, static_cast<int>(timeout.count()));
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0;
    }
}

} // namespace

std::shared_ptr<PortSession> PortSession::Open(std::string_view definition) {
    UniqueFd port = OpenSerialPort(DeviceName(definition));
    if (!port.valid())
        return nullptr;
    const auto colon = definition.find(':');
    const auto settings = ParseLineSettings(
        colon == std::string_view::npos ? std::string_view() : definition.substr(colon + 1));
    // Bad settings leave the port as it was; the open still counts.
    if (settings)
        ApplyLineSettings(port.get(), *settings);
    return Create(std::move(port));
}

std::shared_ptr<PortSession> PortSession::Create(UniqueFd port) {
    UniqueFd waitSet(::epoll_create1(EPOLL_CLOEXEC));
    if (!waitSet.valid())
        return nullptr;
    epoll_event event{};
    event.events = EPOLLIN;
    if (::epoll_ctl(waitSet.get(), EPOLL_CTL_ADD, port.get(), &event) != 0)
        return nullptr;
    return std::make_shared<PortSession>(std::move(port), std::move(waitSet));
}

PortSession::PortSession(UniqueFd port, UniqueFd waitSet)
    : port(std::move(port)), waitSet(std::move(waitSet)) {}

bool PortSession::WaitReadable(std::chrono::milliseconds timeout) {
    return WaitOn(waitSet.get(), timeout);
}

PortSession::ReadResult PortSession::Read(unsigned char* data, std::size_t size) {
    const std::lock_guard lock(ioMutex);
    if (stopped)
        return {true, 0};
    ssize_t n;
    do {
        n = ::read(port.get(), data, size);
    } while (n < 0 && errno == EINTR);
    return {false, n};
}

bool PortSession::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n;
        {
            const std::lock_guard lock(ioMutex);
            if (stopped)
                return false;
            n = ::write(port.get(), bytes.data(), bytes.size());
        }
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EAGAIN) {
            // The line's output buffer is full: wait without the mutex, so
            // close can still go ahead.
            if (!WaitWritable(std::chrono::milliseconds(20)))
                continue;
        } else if (!(n < 0 && errno == EINTR)) {
            return true;
        }
    }
    return true;
}

bool PortSession::WaitWritable(std::chrono::milliseconds timeout) {
    epoll_event event{};
    {
        const std::lock_guard lock(ioMutex);
        if (stopped)
            return false;
        event.events = EPOLLOUT;
        ::epoll_ctl(waitSet.get(), EPOLL_CTL_MOD, port.get(), &event);
    }
    const bool ready = WaitOn(waitSet.get(), timeout);
    const std::lock_guard lock(ioMutex);
    if (!stopped) {
        event.events = EPOLLIN;
        ::epoll_ctl(waitSet.get(), EPOLL_CTL_MOD, port.get(), &event);
    }
    return ready;
}

void PortSession::Stop() {
    const std::lock_guard lock(ioMutex);
    stopped.store(true, std::memory_order_release);
    CloseSerialPort(port);
}

} // namespace zrn
