#pragma once
// One link handle of the link library, driven one command at a time: send,
// wait for the device's ACK or NAK and, for a query, its reply; send again
// when the answer is lost. Unlike the dialog, which never waits, a
// command-line session has nothing else to do meanwhile, and waiting lets it
// tell a refusal from a lost answer. Each Link has its own handle, worker and
// queue, so any number of them run side by side on their own threads.

#include "LinkQueue.h"
#include "Model.h"
#include "ZRNComDll.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zrnctl {

using Clock = std::chrono::steady_clock;

enum class AnswerKind {
    Accepted, // ACK, and for a query its reply
    Refused,  // NAK
    Lost,     // no answer on any attempt, or the port went away
};
struct Answer {
    AnswerKind kind = AnswerKind::Lost;
    std::string reply;
};

// A command and its answer take some 60 ms at 9600 baud; a line that loses
// one answer in five still carries each command within five attempts but
// once in three thousand.
struct LinkTiming {
    std::chrono::milliseconds wait{700}; // for one attempt's answer
    int attempts = 5;
};

using zrn::AnswersQuery;

class Link {
public:
    explicit Link(LinkTiming timing = {}) : timing_(timing) {}
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // A device path, a COM name, "tcp://HOST:PORT" or "rfc2217://HOST:PORT",
    // as given. Nothing when it opened, else the library's reason, which
    // names the port.
    std::optional<std::string> Open(const std::string& port);
    void Close() { handle_.reset(); }
    // A set command (query false) or a query. Sending a command again is safe:
    // each one sets or asks for a value, so doing it twice does no harm. A
    // refused query is asked again too; a refused set command is final.
    Answer Exchange(const std::string& command, bool query);
    // Why the port went away (a gateway closed the connection, an adapter was
    // unplugged), once it has; every exchange is Lost from then on.
    const std::optional<std::string>& LostReason() const { return lost_; }

private:
    std::optional<Answer> Await(const std::string& command, bool query);

    struct CloseHandle {
        void operator()(ZrnLinkHandle* handle) const { fnZrnCloseLink(handle); }
    };

    LinkTiming timing_;
    std::optional<std::string> lost_;
    // Declared before the handle, so that it outlives it: closing waits for a
    // callback under way, and none starts afterwards.
    zrn::LinkQueue events_;
    std::unique_ptr<ZrnLinkHandle, CloseHandle> handle_;
};

} // namespace zrnctl
