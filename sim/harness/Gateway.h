#pragma once
// Debian's ser2net in front of device paths, listening on loopback only: for
// each device a raw TCP accepter and an RFC 2217 accepter, on ports free when
// it starts. For tests and benchmarks of network ports; stopped by its PID.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zrnsim {

class Gateway {
public:
    // `folder` holds its configuration file.
    Gateway(std::string device, std::string folder);
    Gateway(std::vector<std::string> devices, std::string folder);
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

    // Of the device `i` in the order given.
    std::string RawUrl(std::size_t i = 0) const;
    std::string Rfc2217Url(std::size_t i = 0) const;

private:
    // Whether every accepter listens (or, with `none`, none does).
    bool AllListening(bool none = false) const;

    std::string config_;
    std::vector<int> rawPorts_;
    std::vector<int> telnetPorts_;
    pid_t pid_ = -1;
};

} // namespace zrnsim
