#include "protocol/ReplyTable.h"

#include <utility>

void ReplyTable::Add(std::string prefix, Handler handler) {
    rows.push_back({std::move(prefix), std::move(handler)});
}

bool ReplyTable::Dispatch(const std::string& reply) const {
    const Row* best = nullptr;
    for (const Row& row : rows) {
        if (reply.starts_with(row.prefix) && (!best || row.prefix.size() > best->prefix.size()))
            best = &row;
    }
    if (!best)
        return false;
    best->handler(reply);
    return true;
}
