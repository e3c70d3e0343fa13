#include "protocol/ReplyTracker.h"

#include <algorithm>

namespace zrn {

namespace {

bool IsEntryDigit(char ch) {
    return ch >= '1' && ch <= '5';
}

// The eight value fields of an entry, and the three durations of number 5.
bool IsFieldCode(char digit, std::string_view code) {
    if (code == "V" || code == "H" || code == "P")
        return true;
    return digit != '5' && (code == "BD" || code == "BT" || code == "ED" || code == "ET" ||
                            code == "I" || code == "?");
}

} // namespace

std::optional<std::string> QueryReplyKey(std::string_view command) {
    if (command == "C" || command == "B" || command == "F" || command == "I" || command == "L" ||
        command == "A")
        return std::string(command);
    if (command.size() >= 3 && command[0] == 'S' && IsEntryDigit(command[1]) &&
        IsFieldCode(command[1], command.substr(2)))
        return std::string(command);
    return std::nullopt;
}

std::string ReplyKey(std::string_view reply) {
    if (reply.empty())
        return {};
    if (reply[0] != 'S')
        return std::string(reply.substr(0, 1));
    // A status reply is the entry digit and one status letter.
    if (reply.size() == 3 && (reply[2] == 'A' || reply[2] == 'D' || reply[2] == '0'))
        return std::string(reply.substr(0, 2)) + "?";
    return std::string(reply.substr(0, reply.find('|')));
}

void ReplyTracker::Sent(std::string_view command) {
    if (auto key = QueryReplyKey(command)) {
        if (awaited_.size() == kMaxAwaited)
            awaited_.pop_front();
        awaited_.push_back({std::move(*key), next_++});
    }
}

std::vector<std::string> ReplyTracker::Arrived(std::string_view reply) {
    const std::string key = ReplyKey(reply);
    const auto answered = std::find_if(awaited_.begin(), awaited_.end(),
                                       [&](const Query& query) { return query.key == key; });
    lastAnswered_.reset();
    if (answered == awaited_.end())
        return {};
    lastAnswered_ = answered->number;
    std::vector<std::string> lost;
    for (auto query = awaited_.begin(); query != answered; ++query)
        lost.push_back(std::move(query->key));
    awaited_.erase(awaited_.begin(), answered + 1);
    return lost;
}

} // namespace zrn
