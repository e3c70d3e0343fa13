#pragma once
// A TCP relay on loopback that holds every chunk for a fixed time before it
// passes it on, both ways: a network's latency in front of a gateway, for
// benchmarks. One connection at a time; stops with the object.

#include "UniqueFd.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <deque>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

class DelayProxy {
public:
    using Clock = std::chrono::steady_clock;

    DelayProxy(int upstreamPort, std::chrono::milliseconds delay)
        : upstream_(upstreamPort), delay_(delay) {
        listener_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_in address = Loopback(0);
        socklen_t length = sizeof address;
        ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_.get(), 4);
        ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~DelayProxy() {
        stop_ = true;
        thread_.join();
    }
    int Port() const { return port_; }

private:
    struct Chunk {
        Clock::time_point due;
        std::string bytes;
    };
    struct Direction {
        int from, to;
        std::deque<Chunk> queue;
    };

    static sockaddr_in Loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        return address;
    }

    void Run() {
        while (!stop_) {
            pollfd waiting{listener_.get(), POLLIN, 0};
            if (::poll(&waiting, 1, 100) <= 0)
                continue;
            zrn::UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
            zrn::UniqueFd server(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
            sockaddr_in address = Loopback(upstream_);
            if (!client.valid() ||
                ::connect(server.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                continue;
            const int on = 1;
            ::setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            ::setsockopt(server.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            Relay(client.get(), server.get());
        }
    }

    // Until either side closes or the proxy stops.
    void Relay(int client, int server) {
        Direction ways[2] = {{client, server, {}}, {server, client, {}}};
        while (!stop_) {
            auto next = Clock::now() + std::chrono::milliseconds(100);
            for (const Direction& way : ways)
                if (!way.queue.empty() && way.queue.front().due < next)
                    next = way.queue.front().due;
            pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
            ::poll(fds, 2, static_cast<int>(std::max<long long>(wait, 0)));
            for (int i = 0; i < 2; ++i) {
                if (fds[i].revents == 0)
                    continue;
                char chunk[4096];
                const ssize_t n = ::read(ways[i].from, chunk, sizeof chunk);
                if (n <= 0)
                    return;
                ways[i].queue.push_back(
                    {Clock::now() + delay_, std::string(chunk, static_cast<std::size_t>(n))});
            }
            for (Direction& way : ways)
                while (!way.queue.empty() && way.queue.front().due <= Clock::now()) {
                    const std::string& bytes = way.queue.front().bytes;
                    if (::send(way.to, bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0)
                        return;
                    way.queue.pop_front();
                }
        }
    }

    int upstream_;
    std::chrono::milliseconds delay_;
    zrn::UniqueFd listener_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
