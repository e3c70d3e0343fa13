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
// On Windows a read and a write on one non-overlapped handle are serialised
// anyway, and the port time-outs end each read after 20 ms: the worker reads
// under ioMutex, and Stop sets `stopped` first so that it gets the mutex
// within one read and closes the handle before it returns.

#ifdef _WIN32
#include "UniqueHandle.h"

#include <array>
#else
#include "SerialPort.h"
#endif

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <sys/types.h>

namespace zrn {

class PortSession {
public:
    // Opens the port named before the first ":" of `definition` with the line
    // settings after it; bad settings leave the port's own. Nothing when the
    // port cannot be opened.
    static std::shared_ptr<PortSession> Open(std::string_view definition);

#ifdef _WIN32
    explicit PortSession(UniqueHandle port);
#else
    // Nothing when the wait set cannot be made.
    static std::shared_ptr<PortSession> Create(UniqueFd port);

    explicit PortSession(UniqueFd port, UniqueFd waitSet);
#endif

    // True when the port reported something (data, hang-up or error) in time.
    bool WaitReadable(std::chrono::milliseconds timeout);

    struct ReadResult {
        bool stopped;
        ssize_t count; // as read(2): 0 or -1 when nothing came
    };
    ReadResult Read(unsigned char* data, std::size_t size);

    // The whole frame; false when the session was stopped first. Other write
    // errors are ignored, as a serial write's result is.
    bool WriteAll(std::string_view bytes);

    void Stop();
    // For the worker's loop test; port access checks again under ioMutex.
    bool Stopped() const {
        return stopped.load(std::memory_order_acquire);
    }

private:
#ifdef _WIN32
    std::mutex ioMutex;
    std::atomic<bool> stopped{false};
    UniqueHandle port; // guarded by ioMutex
    // What the last read brought, handed out by Read; worker only.
    std::array<unsigned char, 256> held{};
    std::size_t heldCount = 0;
#else
    bool WaitWritable(std::chrono::milliseconds timeout);

    std::mutex ioMutex;
    std::atomic<bool> stopped{false}; // written under ioMutex
    UniqueFd port;                    // guarded by ioMutex
    UniqueFd waitSet;                 // epoll on the port; closed with the session
#endif
};

} // namespace zrn
