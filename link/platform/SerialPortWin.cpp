// The port under the link on Windows, a COM port or a network gateway's
// socket, and the worker's access to it.

#include "NetSystem.h" // first: winsock2.h before windows.h

#include "PortSession.h"

#include "PortName.h"
#include "PortWatch.h"

#include <cstring>
#include <string>
#include <thread>

namespace zrn {
namespace {

// "COM1" opens only up to COM9; "\\.\COM1" opens every port, so bare names
// get that prefix. A name already in the device namespace stays as it is.
std::string DevicePath(std::string_view name) {
    if (name.empty() || name.starts_with("\\\\"))
        return std::string(name);
    return "\\\\.\\" + std::string(name);
}

// The settings text "9600,N,8,1" over the port's current state, so that what
// the text leaves out keeps a value the port accepts. Bad settings change
// nothing.
void ApplyLineSettings(HANDLE port, DCB current, std::string_view settings) {
    const std::string text(settings);
    if (text.empty() || !::BuildCommDCBA(text.c_str(), &current))
        return;
    current.fBinary = TRUE;
    current.fParity = current.Parity != NOPARITY;
    current.fOutxCtsFlow = FALSE;
    current.fOutxDsrFlow = FALSE;
    current.fDsrSensitivity = FALSE;
    current.fOutX = FALSE;
    current.fInX = FALSE;
    current.fNull = FALSE;
    // An error must not stop the reads until someone clears it.
    current.fAbortOnError = FALSE;
    current.fDtrControl = DTR_CONTROL_DISABLE;
    current.fRtsControl = RTS_CONTROL_DISABLE;
    ::SetCommState(port, &current);
}

LinkError OpenFailure(std::string_view name, DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return MakeError(ZRN_ERROR_NO_SUCH_PORT, name);
    // A COM port another program holds answers "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return MakeError(ZRN_ERROR_BUSY, name, "the port is in use by another program");
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return MakeError(ZRN_ERROR_NO_MEMORY, name);
    default:
        return MakeError(ZRN_ERROR_SYSTEM, name, "error " + std::to_string(err));
    }
}

} // namespace

std::shared_ptr<PortSession> PortSession::Open(std::string_view definition, LinkError& error) {
    const std::optional<PortDefinition> parsed = ParsePortDefinition(definition, error);
    if (!parsed)
        return nullptr;
    if (parsed->network) {
        std::optional<NetConnection> connection = ConnectGateway(*parsed, error);
        if (!connection)
            return nullptr;
        return std::make_shared<PortSession>(std::move(connection->socket),
                                             std::move(connection->telnet));
    }
    const std::string device = DevicePath(parsed->name);
    if (device.empty()) {
        error = MakeError(ZRN_ERROR_BAD_NAME, definition, "no port named");
        return nullptr;
    }
    // No sharing: a COM port has one user at a time.
    UniqueHandle port(::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!port.valid()) {
        error = OpenFailure(parsed->name, ::GetLastError());
        return nullptr;
    }
    // Only a communications device has a state: this refuses files and NUL.
    DCB current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(port.get(), &current)) {
        error = MakeError(ZRN_ERROR_NOT_SERIAL, parsed->name);
        return nullptr;
    }
    ApplyLineSettings(port.get(), current, parsed->settings);
    // Each read returns after 20 ms at the latest, with whatever came; writes
    // never time out.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 100;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 20;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    ::SetCommTimeouts(port.get(), &timeouts);
    return std::make_shared<PortSession>(std::move(port));
}

PortSession::PortSession(UniqueHandle port) : port(std::move(port)) {}

PortSession::PortSession(UniqueSocket gateway, std::unique_ptr<TelnetClient> telnet)
    : gateway(std::move(gateway)), network(true), telnet(std::move(telnet)) {}

PortSession::ReadResult PortSession::IdleRead(unsigned char* data, std::size_t size,
                                              std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto began = Clock::now();
    if (network) {
        if (const auto read = ReadGateway(data, size, began, began + timeout))
            return *read;
    } else {
        const std::lock_guard lock(ioMutex);
        if (stopped)
            return {Outcome::Stopped, 0};
        // The port time-outs end the read after 20 ms with whatever came.
        DWORD count = 0;
        if (::ReadFile(port.get(), data, static_cast<DWORD>(size), &count, nullptr) && count > 0) {
            TellPortWatch(PortEvent{PortEvent::Kind::Received, this, began, Clock::now(),
                                    std::string_view(reinterpret_cast<const char*>(data), count)});
            return {Outcome::Bytes, count};
        }
    }
    // An idle read has spent its time-out already; a failing port returns at
    // once: keep the read pace rather than spin. (Sleep may end a little
    // before the steady clock has moved on as far.)
    while (Clock::now() < began + timeout)
        std::this_thread::sleep_until(began + timeout);
    if (stopped)
        return {Outcome::Stopped, 0};
    TellPortWatch(PortEvent{PortEvent::Kind::IdleRead, this, began, Clock::now(), {}});
    return {Outcome::Idle, 0};
}

// The 20 ms loop: see PortSession.h.
PortSession::ReadResult PortSession::ReadOrWake(unsigned char* data, std::size_t size,
                                                std::chrono::milliseconds idleRead) {
    return IdleRead(data, size, idleRead);
}

void PortSession::Wake() {}

bool PortSession::WriteAll(std::string_view bytes) {
    const auto began = std::chrono::steady_clock::now();
    const std::string_view frame = bytes;
    if (network) {
        if (!WriteGateway(bytes))
            return false;
    } else {
        const std::lock_guard lock(ioMutex);
        if (stopped)
            return false;
        DWORD errors = 0;
        ::ClearCommError(port.get(), &errors, nullptr);
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!::WriteFile(port.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                             nullptr) ||
                written == 0)
                break; // ignored, as a serial write's result is
            bytes.remove_prefix(written);
        }
        ::ClearCommError(port.get(), &errors, nullptr);
    }
    TellPortWatch(
        PortEvent{PortEvent::Kind::Wrote, this, began, std::chrono::steady_clock::now(), frame});
    return true;
}

void PortSession::Stop() {
    // Set before waiting for the mutex: the worker starts no new read then,
    // so this waits at most for the one under way.
    stopped.store(true, std::memory_order_release);
    const std::lock_guard lock(ioMutex);
    port.reset();
    gateway.reset();
}

std::optional<PortSession::ReadResult>
PortSession::ReadGateway(unsigned char* data, std::size_t size,
                         std::chrono::steady_clock::time_point began,
                         std::chrono::steady_clock::time_point deadline) {
    // A gateway that is gone brings nothing: the caller keeps the read pace.
    while (!lost) {
        long n;
        int err = 0;
        {
            const std::lock_guard lock(ioMutex);
            if (stopped)
                return ReadResult{Outcome::Stopped, 0};
            if (!net::WaitFor(gateway, net::Want::Readable, deadline))
                return std::nullopt;
            n = net::Receive(gateway, reinterpret_cast<char*>(data), size);
            if (n < 0)
                err = net::LastError();
        }
        if (n > 0) {
            std::size_t count = static_cast<std::size_t>(n);
            // Only the gateway's telnet talk: nothing for the worker yet.
            if (telnet && (count = Unwrap(data, count)) == 0)
                continue;
            TellPortWatch(PortEvent{PortEvent::Kind::Received, this, began,
                                    std::chrono::steady_clock::now(),
                                    std::string_view(reinterpret_cast<const char*>(data), count)});
            return ReadResult{Outcome::Bytes, count};
        }
        if (err == net::kWouldBlock || err == net::kInterrupted)
            continue;
        MarkLost(n == 0 ? std::string("the gateway closed the connection")
                        : "the connection failed: " + net::ErrorText(err));
    }
    return std::nullopt;
}

std::size_t PortSession::Unwrap(unsigned char* data, std::size_t count) {
    return UnwrapTelnet(*telnet, data, count, [this](const std::string& reply) {
        const std::lock_guard lock(ioMutex);
        if (!stopped)
            (void)net::Send(gateway, reply.data(), reply.size());
    });
}

bool PortSession::WriteGateway(std::string_view bytes) {
    std::string escaped;
    if (telnet) {
        escaped = TelnetClient::Escape(bytes);
        bytes = escaped;
    }
    while (!bytes.empty()) {
        const std::lock_guard lock(ioMutex);
        if (stopped)
            return false;
        const long n = net::Send(gateway, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        const int err = n < 0 ? net::LastError() : 0;
        // A full send buffer: wait for room as long as a read may take.
        if (err == net::kWouldBlock)
            net::WaitFor(gateway, net::Want::Writable,
                         std::chrono::steady_clock::now() + std::chrono::milliseconds(20));
        else if (err != net::kInterrupted)
            break; // ignored, as a serial write's result is; the reads tell a loss
    }
    return true;
}

} // namespace zrn
