#pragma once
// The link library's one link, driven one command at a time: send, wait for
// the device's ACK or NAK and, for a query, its reply; send again when the
// answer is lost. Unlike the dialog, which never waits, a command-line session
// has nothing else to do meanwhile, and waiting lets it tell a refusal from a
// lost answer.

#include "ZRNComDll.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zrnctl {

using Clock = std::chrono::steady_clock;

struct LinkEvent {
    std::uintptr_t code = 0;         // LINK_ACK, LINK_NAK, LINK_REPLY or LINK_DATA
    std::optional<std::string> text; // the notification's text, copied
};

// Where the link's notifications land. One per process, as the link is, and
// never destroyed: a worker may still finish a notification after its close.
class LinkEvents {
public:
    static LinkEvents& Instance();
    HWND Window();
    void Clear();
    // The next notification, or nothing once the deadline has passed.
    std::optional<LinkEvent> Next(Clock::time_point deadline);

    struct State; // the platform's window and queue

private:
    explicit LinkEvents(State& state) : state_(state) {}
    State& state_;
};

enum class AnswerKind {
    Accepted, // ACK, and for a query its reply
    Refused,  // NAK
    Lost,     // no answer on any attempt
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

// A reply carries its query's letters, then a status letter ("S1?": "S1A"),
// one character ("A": "A3") or "|" and the values ("S1BD": "S1BD|03/03/27|").
bool AnswersQuery(std::string_view reply, std::string_view query);

class Link {
public:
    explicit Link(LinkTiming timing = {}) : timing_(timing) {}
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    ~Link() { Close(); }

    // "%s:9600,N,8,1" of the device path; false when it does not open.
    bool Open(const std::string& port);
    void Close();
    // A set command (query false) or a query. Sending a command again is safe:
    // each one sets or asks for a value, so doing it twice does no harm. A
    // refused query is asked again too; a refused set command is final.
    Answer Exchange(const std::string& command, bool query);

private:
    std::optional<Answer> Await(const std::string& command, bool query);

    LinkTiming timing_;
    bool open_ = false;
};

} // namespace zrnctl
