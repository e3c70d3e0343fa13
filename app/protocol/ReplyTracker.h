#pragma once
// Which queries still wait for their reply. The device takes one frame at a
// time and answers in order, so when a reply arrives, every query that went
// out before the one it answers and is still unanswered has lost its reply
// (a NAK, a dropped answer, a bad checksum). Nothing here waits or times out.

#include "device/Replies.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zrn {

class ReplyTracker {
public:
    // Remembers a query handed to the link; other commands are not remembered.
    void Sent(std::string_view command);
    // The queries this reply shows to be lost, oldest first. A reply that
    // answers nothing awaited (a late or unasked one) shows nothing.
    std::vector<std::string> Arrived(std::string_view reply);
    // The link was closed: what it still held will never be answered.
    void Clear() { awaited_.clear(); }
    std::size_t Awaited() const { return awaited_.size(); }
    // Queries are numbered from 0 in the order they went out; the number the
    // next one gets.
    std::uint64_t NextQuery() const { return next_; }
    // The number of the query the last arrived reply answered; none when it
    // answered nothing awaited.
    std::optional<std::uint64_t> LastAnswered() const { return lastAnswered_; }

    // A device that answers nothing at all sends the program back to the port
    // scan long before this many queries wait; the oldest are forgotten.
    static constexpr std::size_t kMaxAwaited = 512;

private:
    struct Query {
        std::string key;
        std::uint64_t number;
    };
    std::deque<Query> awaited_; // in the order the queries went out
    std::uint64_t next_ = 0;
    std::optional<std::uint64_t> lastAnswered_;
};

} // namespace zrn
