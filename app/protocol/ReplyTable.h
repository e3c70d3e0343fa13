#pragma once
// Which handler takes a reply: each panel registers the reply prefixes it
// handles; the longest registered prefix of a reply wins ("S5" before "S").
#include <functional>
#include <string>
#include <vector>

class ReplyTable {
public:
    using Handler = std::function<void(const std::string& reply)>;

    void Add(std::string prefix, Handler handler);
    // False when no prefix matches.
    bool Dispatch(const std::string& reply) const;

private:
    struct Row {
        std::string prefix;
        Handler handler;
    };
    std::vector<Row> rows;
};
