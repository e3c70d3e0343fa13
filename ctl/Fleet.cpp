#include "Fleet.h"

#include "Actions.h"

#include <exception>
#include <system_error>
#include <thread>

namespace zrnctl {
namespace {

// An exception must not leave a port's thread: it would end the program.
DeviceResult RunGuarded(const Request& request, const std::string& port) {
    try {
        return RunOnPort(request, port);
    } catch (const std::exception& failure) {
        return {port, Outcome::Failed, failure.what(), {}, {}};
    }
}

} // namespace

std::vector<DeviceResult> RunOnPorts(const Request& request, const std::vector<std::string>& ports,
                                     bool probe) {
    Request one = request;
    one.probe = probe;
    std::vector<DeviceResult> results(ports.size());
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const auto run = [&one, &ports, &results, i] { results[i] = RunGuarded(one, ports[i]); };
        try {
            threads.emplace_back(run);
        } catch (const std::system_error&) {
            run(); // no thread to be had: this port waits its turn
        }
    }
    threads.clear(); // joins them all
    return results;
}

} // namespace zrnctl
