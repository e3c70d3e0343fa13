#include "PortSession.h"

#include "NetPort.h"
#include "PortName.h"
#include "PortWatch.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>

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

std::shared_ptr<PortSession> PortSession::Open(std::string_view definition, LinkError& error) {
    const std::optional<PortDefinition> parsed = ParsePortDefinition(definition, error);
    if (!parsed)
        return nullptr;
    std::shared_ptr<PortSession> session;
    if (parsed->network) {
        std::optional<NetConnection> connection = ConnectGateway(*parsed, error);
        if (!connection)
            return nullptr;
        session = Create(std::move(connection->socket), true, std::move(connection->telnet));
    } else {
        UniqueFd port = OpenSerialPort(parsed->name, error);
        if (!port.valid())
            return nullptr;
        // Bad settings leave the port as it was; the open still counts.
        if (const auto settings = ParseLineSettings(parsed->settings))
            ApplyLineSettings(port.get(), *settings);
        session = Create(std::move(port));
    }
    if (!session)
        error = MakeError(ZRN_ERROR_SYSTEM, parsed->name, std::strerror(errno));
    return session;
}

std::shared_ptr<PortSession> PortSession::Create(UniqueFd port, bool socket,
                                                 std::unique_ptr<TelnetClient> telnet) {
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    UniqueFd waitSet(::epoll_create1(EPOLL_CLOEXEC));
    if (!wake.valid() || !waitSet.valid())
        return nullptr;
    for (const int fd : {port.get(), wake.get()}) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        if (::epoll_ctl(waitSet.get(), EPOLL_CTL_ADD, fd, &event) != 0)
            return nullptr;
    }
    return std::make_shared<PortSession>(std::move(port), std::move(wake), std::move(waitSet),
                                         socket, std::move(telnet));
}

PortSession::PortSession(UniqueFd port, UniqueFd wake, UniqueFd waitSet, bool socket,
                         std::unique_ptr<TelnetClient> telnet)
    : port(std::move(port)), wake(std::move(wake)), waitSet(std::move(waitSet)), socket(socket),
      telnet(std::move(telnet)) {}

ssize_t PortSession::WritePort(const char* data, std::size_t size) {
    return socket ? ::send(port.get(), data, size, MSG_NOSIGNAL) : ::write(port.get(), data, size);
}

std::size_t PortSession::Unwrap(unsigned char* data, std::size_t count) {
    return UnwrapTelnet(*telnet, data, count, [this](const std::string& reply) {
        const std::lock_guard lock(ioMutex);
        if (!stopped)
            (void)WritePort(reply.data(), reply.size());
    });
}

PortSession::Ready PortSession::WaitUntil(std::optional<Clock::time_point> deadline) {
    for (;;) {
        epoll_event events[2]{};
        const int n = ::epoll_wait(waitSet.get(), events, 2, deadline ? MsUntil(*deadline) : -1);
        Ready ready;
        for (int i = 0; i < n; ++i) {
            if (events[i].data.fd == wake.get())
                ready.woken = true;
            else
                ready.port = true;
        }
        if (ready.woken) {
            std::uint64_t count;
            (void)!::read(wake.get(), &count, sizeof count);
        }
        if (n > 0)
            return ready;
        // A signal, or a wake-up a little before the deadline: wait on.
        if ((n == 0 || errno == EINTR) && (!deadline || Clock::now() < *deadline))
            continue;
        return ready;
    }
}

void PortSession::Wake() {
    const std::uint64_t one = 1;
    // Fails only when the counter is full, and then a wake-up is pending anyway.
    (void)!::write(wake.get(), &one, sizeof one);
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

std::optional<PortSession::ReadResult> PortSession::TakeBytes(unsigned char* data, std::size_t size,
                                                              Clock::time_point began) {
    const ssize_t n = ReadPort(data, size);
    if (n > 0) {
        std::size_t count = static_cast<std::size_t>(n);
        // Only the gateway's telnet talk: nothing for the worker yet.
        if (telnet && (count = Unwrap(data, count)) == 0)
            return std::nullopt;
        Tell(PortEvent::Kind::Received, this, began,
             std::string_view(reinterpret_cast<const char*>(data), count));
        return ReadResult{Outcome::Bytes, count};
    }
    if (Stopped())
        return ReadResult{Outcome::Stopped, 0};
    if (n < 0 && errno == EAGAIN)
        return std::nullopt; // the bytes went elsewhere: still waiting
    // Hung up or failing: it signals at once, without data, for good.
    // A terminal's read of 0 is not proof (raw mode reads 0 for "nothing
    // yet"); its error is. A socket's 0 is the gateway closing.
    if (!socket && n < 0)
        MarkLost(std::string("the port failed: ") + std::strerror(errno));
    else if (socket && n == 0)
        MarkLost("the gateway closed the connection");
    else if (socket)
        MarkLost(std::string("the connection failed: ") + std::strerror(errno));
    return ReadResult{Outcome::Idle, 0};
}

PortSession::ReadResult PortSession::IdleRead(unsigned char* data, std::size_t size,
                                              std::chrono::milliseconds timeout) {
    const auto began = Clock::now();
    const auto deadline = began + timeout;
    for (;;) {
        if (Stopped())
            return {Outcome::Stopped, 0};
        const Ready ready = WaitUntil(deadline);
        if (!ready.port) {
            // A send or a close woke it: only a close ends the idle read early.
            if (ready.woken)
                continue;
            break;
        }
        const auto taken = TakeBytes(data, size, began);
        if (!taken)
            continue;
        if (taken->outcome != Outcome::Idle)
            return *taken;
        std::this_thread::sleep_until(deadline);
        break;
    }
    if (Stopped())
        return {Outcome::Stopped, 0};
    Tell(PortEvent::Kind::IdleRead, this, began);
    return {Outcome::Idle, 0};
}

PortSession::ReadResult PortSession::ReadOrWake(unsigned char* data, std::size_t size,
                                                std::chrono::milliseconds idleRead) {
    const auto quietSince = Clock::now();
    for (;;) {
        if (Stopped())
            return {Outcome::Stopped, 0};
        const Ready ready = WaitUntil(std::nullopt);
        const auto began = Clock::now();
        if (!ready.port) {
            if (Stopped())
                return {Outcome::Stopped, 0};
            // The line was quiet for a whole idle read before the send came:
            // that wait was the idle read, so the command need not wait again
            // (one wake-up a command fewer while polling).
            if (began - quietSince < idleRead)
                return {Outcome::Woken, 0};
            Tell(PortEvent::Kind::IdleRead, this, quietSince);
            return {Outcome::Idle, 0};
        }
        const auto taken = TakeBytes(data, size, began);
        if (!taken)
            continue;
        if (taken->outcome != Outcome::Idle)
            return *taken;
        // A hung-up port keeps the idle read's pace rather than spin.
        std::this_thread::sleep_until(began + idleRead);
        if (Stopped())
            return {Outcome::Stopped, 0};
        Tell(PortEvent::Kind::IdleRead, this, began);
        return {Outcome::Idle, 0};
    }
}

bool PortSession::WriteAll(std::string_view bytes) {
    const auto began = Clock::now();
    const std::string_view frame = bytes;
    std::string escaped;
    if (telnet) {
        escaped = TelnetClient::Escape(bytes);
        bytes = escaped;
    }
    while (!bytes.empty()) {
        ssize_t n;
        {
            const std::lock_guard lock(ioMutex);
            if (stopped)
                return false;
            n = WritePort(bytes.data(), bytes.size());
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
        event.data.fd = port.get();
        ::epoll_ctl(waitSet.get(), EPOLL_CTL_MOD, port.get(), &event);
    }
    // A send's wake-up is used up here; the worker looks at the queue again
    // before it next sleeps.
    const bool ready = WaitUntil(Clock::now() + timeout).port;
    const std::lock_guard lock(ioMutex);
    if (!stopped) {
        event.events = EPOLLIN;
        ::epoll_ctl(waitSet.get(), EPOLL_CTL_MOD, port.get(), &event);
    }
    return ready;
}

void PortSession::Stop() {
    {
        const std::lock_guard lock(ioMutex);
        stopped.store(true, std::memory_order_release);
        if (socket)
            port.reset();
        else
            CloseSerialPort(port);
    }
    // A closed port wakes no epoll_wait: the worker may be asleep.
    Wake();
}

} // namespace zrn
