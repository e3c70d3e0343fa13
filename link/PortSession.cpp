#include "PortSession.h"

#include "PortWatch.h"

#include <algorithm>
#include <cerrno>
#include <sys/epoll.h>
#include <thread>
#include <unistd.h>

namespace zrn {
namespace {

using Clock = std::chrono::steady_clock;

void Tell(PortEvent::Kind kind, const PortSession* port, Clock::time_point began,
          std::string_view bytes = {}) {
    TellPortWatch(PortEvent{kind, port, began, Clock::now(), bytes});
}

// Milliseconds for epoll_wait, rounded up so that a wait never ends early.
int MsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 60000));
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

PortSession::Ready PortSession::WaitUntil(Clock::time_point deadline) {
    for (;;) {
        epoll_event event{};
        const int n = ::epoll_wait(waitSet.get(), &event, 1, MsUntil(deadline));
        if (n > 0)
            return Ready::Port;
        // A signal, or a wake-up a little before the deadline: wait on.
        if ((n == 0 || errno == EINTR) && Clock::now() < deadline)
            continue;
        return Ready::Nothing;
    }
}

ssize_t PortSession::ReadPort(unsigned char* data, std::size_t size) {
    const std::lock_guard lock(ioMutex);
    if (stopped) {
        errno = EBADF;
        return -1;
    }
    ssize_t n;
    do {
        n = ::read(port.get(), data, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

PortSession::ReadResult PortSession::IdleRead(unsigned char* data, std::size_t size,
                                              std::chrono::milliseconds timeout) {
    const auto began = Clock::now();
    const auto deadline = began + timeout;
    for (;;) {
        if (Stopped())
            return {Outcome::Stopped, 0};
        if (WaitUntil(deadline) == Ready::Nothing)
            break;
        const ssize_t n = ReadPort(data, size);
        if (n > 0) {
            Tell(
                PortEvent::Kind::Received, this, began,
                std::string_view(reinterpret_cast<const char*>(data), static_cast<std::size_t>(n)));
            return {Outcome::Bytes, static_cast<std::size_t>(n)};
        }
        if (Stopped())
            return {Outcome::Stopped, 0};
        if (n < 0 && errno == EAGAIN)
            continue; // the bytes went elsewhere: still waiting
        // Hung up or failing: it signals at once, without data, for good.
        std::this_thread::sleep_until(deadline);
        break;
    }
    if (Stopped())
        return {Outcome::Stopped, 0};
    Tell(PortEvent::Kind::IdleRead, this, began);
    return {Outcome::Idle, 0};
}

bool PortSession::WriteAll(std::string_view bytes) {
    const auto began = Clock::now();
    const std::string_view frame = bytes;
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
            break;
        }
    }
    Tell(PortEvent::Kind::Wrote, this, began, frame);
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
    const bool ready = WaitUntil(Clock::now() + timeout) == Ready::Port;
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
