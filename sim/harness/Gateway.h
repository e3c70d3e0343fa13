#pragma once
// Debian's ser2net in front of a device path, listening on loopback only: a
// raw TCP accepter and an RFC 2217 accepter, on ports free when it starts.
// For tests and benchmarks of network ports; stopped by its PID.

#include <chrono>
#include <string>
#include <sys/types.h>

namespace zrnsim {

class Gateway {
public:
    // `folder` holds its configuration file.
    Gateway(std::string device, std::string folder);
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;
    ~Gateway();

    // Whether ser2net is installed.
    static bool Available();

    // Starts it (again, on the same ports) and waits until both accepters
    // listen; false when it did not come up in time.
    bool Start(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // SIGKILL: the gateway gone at once, as one that crashed or lost power.
    void Kill();

    std::string RawUrl() const;
    std::string Rfc2217Url() const;

private:
    bool Listening(int port) const;

    std::string device_;
    std::string config_;
    int rawPort_ = 0;
    int telnetPort_ = 0;
    pid_t pid_ = -1;
};

} // namespace zrnsim
