#pragma once
// The PC's end of the pseudo-terminal with the bare framing, for tests that
// check the simulator itself rather than the link library.

#include "FrameCrc.h"
#include "RawPty.h"
#include "UniqueFd.h"

#include <chrono>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace zrnsim::testing {

class RawPort {
public:
    explicit RawPort(const std::string& path) : fd_(zrntest::OpenRawTerminal(path)) {}
    bool IsOpen() const { return static_cast<bool>(fd_); }

    // Sends the framed command; returns the answer: a NAK alone, or an ACK and, for a
    // query, everything up to the reply's CR.
    std::string Exchange(const std::string& command, bool query) {
        return ExchangeBytes(zrn::BuildFrame(command), query);
    }

    std::string ExchangeBytes(const std::string& frame, bool query) {
        if (::write(fd_.get(), frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
            return {};
        return ReadUntil([query](const std::string& in) {
            return in.find(static_cast<char>(zrn::NAK)) != std::string::npos ||
                   (in.find(static_cast<char>(zrn::ACK)) != std::string::npos &&
                    (!query || in.find('\r') != std::string::npos));
        });
    }

    template <typename Done>
    std::string ReadUntil(Done done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::string in;
        while (!done(in)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{fd_.get(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                break;
            char chunk[256];
            const ssize_t n = ::read(fd_.get(), chunk, sizeof chunk);
            if (n <= 0)
                break;
            in.append(chunk, static_cast<std::size_t>(n));
        }
        return in;
    }

private:
    zrn::UniqueFd fd_;
};

// The text of the reply frame in an answer, or "" when there is none.
inline std::string ReplyText(const std::string& answer) {
    const auto stx = answer.find(static_cast<char>(zrn::STX));
    const auto etx = answer.rfind(static_cast<char>(zrn::ETX));
    if (stx == std::string::npos || etx == std::string::npos || etx < stx)
        return {};
    return answer.substr(stx + 1, etx - stx - 1);
}

} // namespace zrnsim::testing
