#pragma once
// One open of the port, shared by the exports and the worker started for it.
//
// Close must neither wait for the worker (it may be inside a notification to
// the very thread that closes) nor leave it able to touch the port of a later
// open, which may get the same descriptor number. So the worker touches the
// descriptor only under ioMutex after checking `stopped`, and Stop sets
// `stopped` and closes the descriptor under the same mutex. The mutex is held
// only around non-blocking syscalls, never across a wait or a notification.
//
// The worker waits on an epoll set rather than poll(): poll would hold a
// reference to the port's file for up to 20 ms after close, keeping the
// device open and its exclusive flag set against the next open. A closed
// descriptor leaves the epoll set by itself.
//
// On Windows the port is a COM handle or a gateway's socket, and the worker
// holds ioMutex across each read, which ends within 20 ms: the COM port's
// time-outs end it (a read and a write on one non-overlapped handle are
// serialised anyway), and a socket is read only after a select of up to
// 20 ms said it was readable; a socket write that finds no room waits the
// same way. Stop sets `stopped` first, so that the worker starts no new
// read, gets the mutex within that one read and closes the handle or socket
// before it returns.
//
// While nothing is queued the worker sleeps without a time-out until bytes
// arrive or Wake() is called: by a send, so that the command still gets its
// idle read before it is written, and by Stop, so that a closed session's
// worker ends at once. On Linux an eventfd beside the port in the epoll set
// carries the wake-up. On Windows the worker goes on reading 20 ms at a time
// (ReadOrWake is an idle read there): an event-driven wait needs overlapped
// I/O on the port, whose cancellation at close must not make close wait for
// the worker, and wine, where the Windows build is tested, emulates
// WaitCommEvent by polling the line every millisecond.
//
// Every read that brings bytes, every idle read and every frame written is
// told to the port watch (PortWatch.h).
//
// A network gateway is a socket in the same place. With RFC 2217 the telnet
// layer sits between the socket and the worker: commands and answers of the
// gateway are taken out of what is read (and answered at once), and 0xFF is
// doubled in what is written. A port that hangs up or fails for good is
// marked lost, once, for the worker to tell; its reads then keep the idle
// read's pace, as a hung-up serial port's always have.

#include "LinkError.h"
#include "Rfc2217.h"

#ifdef _WIN32
#include "UniqueHandle.h"
#include "UniqueSocket.h"
#else
#include "SerialPort.h"
#endif

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>

namespace zrn {

class PortSession {
public:
    // Opens the port `definition` names (PortName.h) with the line settings
    // after it; bad settings leave a serial port's own. Nothing, with `error`
    // saying why, when the port cannot be opened.
    static std::shared_ptr<PortSession> Open(std::string_view definition, LinkError& error);

#ifdef _WIN32
    explicit PortSession(UniqueHandle port);
    // A gateway's connected socket; `telnet` only for RFC 2217.
    PortSession(UniqueSocket gateway, std::unique_ptr<TelnetClient> telnet);
#else
    // Nothing when the wait set cannot be made. `telnet` only for RFC 2217.
    static std::shared_ptr<PortSession> Create(UniqueFd port, bool socket = false,
                                               std::unique_ptr<TelnetClient> telnet = nullptr);

    PortSession(UniqueFd port, UniqueFd wake, UniqueFd waitSet, bool socket,
                std::unique_ptr<TelnetClient> telnet);
#endif

    enum class Outcome {
        Bytes,   // `count` bytes were read
        Idle,    // the idle read passed without a byte
        Woken,   // Wake() was called (ReadOrWake only)
        Stopped, // the session was stopped
    };
    struct ReadResult {
        Outcome outcome;
        std::size_t count;
    };

    // The idle read: reads up to `size` bytes, waiting up to `timeout` for
    // the first. A port that has hung up or fails brings nothing at once; its
    // reads still last `timeout`, so the worker keeps its pace rather than
    // spin.
    // Wake() does not shorten it.
    ReadResult IdleRead(unsigned char* data, std::size_t size, std::chrono::milliseconds timeout);

    // Reads up to `size` bytes, waiting for the first without a time-out,
    // unless Wake() is called first: Woken, or Idle when no byte came for at
    // least `idleRead` before it (the wait was an idle read). A port that has
    // hung up makes this an idle read of `idleRead`.
    ReadResult ReadOrWake(unsigned char* data, std::size_t size,
                          std::chrono::milliseconds idleRead);

    // Ends a ReadOrWake under way, or the next one; any thread may call it.
    void Wake();

    // The whole frame; false when the session was stopped first. Other write
    // errors are ignored, as a serial write's result is.
    bool WriteAll(std::string_view bytes);

    void Stop();
    // For the worker's loop test; port access checks again under ioMutex.
    bool Stopped() const {
        return stopped.load(std::memory_order_acquire);
    }

    // A network gateway rather than a line of our own.
#ifdef _WIN32
    bool Networked() const {
        return false;
    }
#else
    bool Networked() const {
        return socket;
    }
#endif

    // Why the port was lost, the first time this is asked after it was; the
    // worker's thread only.
    std::optional<std::string> TakeLoss() {
        return std::exchange(lossToTell, std::nullopt);
    }

private:
    // Once, by the worker: the port hung up or failed for good.
    void MarkLost(std::string reason) {
        if (!std::exchange(lost, true))
            lossToTell = std::move(reason);
    }
    std::optional<std::string> lossToTell; // the worker's thread only
    bool lost = false;                     // the worker's thread only

    // The telnet layer: what was read, less the gateway's commands; their
    // answers are written at once. The count left for the worker.
    std::size_t Unwrap(unsigned char* data, std::size_t count);

#ifdef _WIN32
    // The gateway's side of IdleRead and WriteAll; ReadGateway gives Bytes or
    // Stopped, or nothing when the read passed idle or the gateway is gone.
    std::optional<ReadResult> ReadGateway(unsigned char* data, std::size_t size,
                                          std::chrono::steady_clock::time_point began,
                                          std::chrono::steady_clock::time_point deadline);
    bool WriteGateway(std::string_view bytes);

    std::mutex ioMutex;
    std::atomic<bool> stopped{false};
    UniqueHandle port;                    // a COM port; guarded by ioMutex
    UniqueSocket gateway;                 // or a gateway's socket; guarded by ioMutex
    const bool network = false;           // `gateway`, not `port`
    std::unique_ptr<TelnetClient> telnet; // RFC 2217; the worker's thread only
#else
    struct Ready {
        bool port = false;  // bytes, a hang-up or an error
        bool woken = false; // Wake() was called; the wake-up is used up
    };
    // Nothing ready once `deadline` has passed; without one, waits for good.
    Ready WaitUntil(std::optional<std::chrono::steady_clock::time_point> deadline);
    // What a port that signalled brought: Bytes, or nothing (Idle), or Stopped.
    std::optional<ReadResult> TakeBytes(unsigned char* data, std::size_t size,
                                        std::chrono::steady_clock::time_point began);
    // As read(2): the count, 0 or -1 with errno; -1 with EBADF once stopped.
    ssize_t ReadPort(unsigned char* data, std::size_t size);
    bool WaitWritable(std::chrono::milliseconds timeout);
    // As write(2), without SIGPIPE from a socket the gateway closed.
    ssize_t WritePort(const char* data, std::size_t size);

    std::mutex ioMutex;
    std::atomic<bool> stopped{false};     // written under ioMutex
    UniqueFd port;                        // guarded by ioMutex
    UniqueFd wake;                        // eventfd; closed with the session
    UniqueFd waitSet;                     // epoll on the port and `wake`
    const bool socket;                    // a network gateway, not a terminal
    std::unique_ptr<TelnetClient> telnet; // RFC 2217; the worker's thread only
#endif
};

} // namespace zrn
