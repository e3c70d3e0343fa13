#include "device/Replies.h"

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

bool IsStatusLetter(char ch) {
    return ch == 'A' || ch == 'D' || ch == '0';
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

bool AnswersQuery(std::string_view reply, std::string_view query) {
    if (query.empty())
        return false;
    if (query.back() == '?')
        return reply.size() == query.size() &&
               reply.starts_with(query.substr(0, query.size() - 1)) && IsStatusLetter(reply.back());
    if (!reply.starts_with(query) || reply.size() == query.size())
        return false;
    // Only a one-letter query has a one-character answer: the address.
    return reply[query.size()] == '|' || (query.size() == 1 && reply.size() == 2);
}

} // namespace zrn
