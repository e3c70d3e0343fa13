#pragma once
// The few socket calls that differ between POSIX and Winsock, behind one set
// of names: NetPortPosix.cpp and NetPortWin.cpp. What is done with them (the
// connect, the negotiation, a session's reads and writes) is written once.
//
// On Windows this brings in winsock2.h, which must come before windows.h:
// include this header first.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <cerrno>
#include <netdb.h>
#include <sys/socket.h>
#endif

#include "NetPort.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace zrn::net {

// Error numbers: errno on POSIX, WSAGetLastError() on Windows.
#ifdef _WIN32
inline constexpr int kWouldBlock = WSAEWOULDBLOCK;
inline constexpr int kInProgress = WSAEWOULDBLOCK; // a non-blocking connect under way
inline constexpr int kInterrupted = WSAEINTR;
inline constexpr int kRefused = WSAECONNREFUSED;
inline constexpr int kTimedOut = WSAETIMEDOUT;
#else
inline constexpr int kWouldBlock = EAGAIN;
inline constexpr int kInProgress = EINPROGRESS;
inline constexpr int kInterrupted = EINTR;
inline constexpr int kRefused = ECONNREFUSED;
inline constexpr int kTimedOut = ETIMEDOUT;
#endif

using Clock = std::chrono::steady_clock;

// Before any other call here, as often as wanted (Winsock's start-up, once).
// False when the system has no sockets to give, with LastError() set.
bool StartNetworking();

// The error of the last call here that failed.
int LastError();
std::string ErrorText(int err);
// A getaddrinfo status as text.
std::string ResolverText(int status);

// A non-blocking stream socket for `address`, not inherited by child
// processes; invalid, with LastError() set, when none can be made.
NetSocket OpenSocket(const addrinfo& address);
// 0 when connected, kInProgress while it goes on, else the error.
int BeginConnect(const NetSocket& socket, const addrinfo& address);
// The outcome of a connect that was under way: 0 or the error.
int ConnectResult(const NetSocket& socket);
// No Nagle (a frame goes out whole at once), and keepalive probes, so that a
// gateway that is gone shows even when the line is quiet: within some 25 s
// on Linux, a minute on Windows (whose probe count is fixed at 10).
void Tune(const NetSocket& socket);

enum class Want { Readable, Writable, Connected };
// True when the socket is ready (Connected: the connect finished, either
// way) before the deadline; false when it passed or the wait failed.
bool WaitFor(const NetSocket& socket, Want want, Clock::time_point deadline);

// As send and recv: a count, 0 when the far end has closed (Receive), or -1
// with LastError() set. Send never raises SIGPIPE.
long Send(const NetSocket& socket, const char* data, std::size_t size);
long Receive(const NetSocket& socket, char* data, std::size_t size);

} // namespace zrn::net
