#include "protocol/ReplyTracker.h"

#include <algorithm>

namespace zrn {

void ReplyTracker::Sent(std::string_view command) {
    if (auto key = QueryReplyKey(command)) {
        if (awaited_.size() == kMaxAwaited)
            awaited_.pop_front();
        awaited_.push_back({std::move(*key), next_++});
    }
}

std::vector<std::string> ReplyTracker::Arrived(std::string_view reply) {
    const auto answered = std::find_if(awaited_.begin(), awaited_.end(), [&](const Query& query) {
        return AnswersQuery(reply, query.key);
    });
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
