#include "model/SdiRules.h"

#include "base/Text.h"

#include <algorithm>
#include <cstdio>

namespace zrn {

char FirstCharacter(std::string_view text) {
    return text.empty() ? '\0' : text.front();
}

std::optional<int> WholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
        digits.remove_prefix(1);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        return std::nullopt;
    return DecimalValue(text);
}

CommandList AddressLeaveCommands(std::string_view text, char chAtFocus) {
    const char ch = FirstCharacter(text);
    if (ch == chAtFocus)
        return {};
    return AddressChangeSequence(ch);
}

CommandList DelayLeaveCommands(std::string_view text, int nDelayAtFocus) {
    if (DecimalValue(text) == nDelayAtFocus)
        return {};
    // A slip of the keyboard must not set a value nobody typed: only a whole
    // number goes out, but the query always follows.
    if (const std::optional<int> value = WholeNumber(text))
        return DelayChangeSequence(*value);
    return {DelayQuery()};
}

CommandList SdiDurationLeaveCommands(SdiDuration which, std::string_view text,
                                     std::string_view textAtFocus) {
    if (text == textAtFocus)
        return {};
    const int value = DecimalValue(text);
    if (value < 0 || value > MAX_SDI_DURATION)
        return {};
    if (WholeNumber(text))
        return SdiDurationChangeSequence(which, value);
    return {SdiDurationQuery(which)};
}

std::optional<std::string> DelayReplyText(std::string_view reply) {
    const std::optional<std::string> value = ParseDelayReply(reply);
    if (!value || value->empty() || value->front() < '0' || value->front() > '9')
        return std::nullopt;
    return value->front() == '0' ? value->substr(1) : *value;
}

std::string SdiDurationText(SdiMinSec value) {
    const int total = value.nMinutes * 60 + value.nSeconds;
    if (total > MAX_SDI_DURATION)
        return "???";
    char text[8];
    std::snprintf(text, sizeof text, "%3d", total);
    return text;
}

bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= 0x20 && ch <= 0x7E; });
}

std::string MaxCharsMessage(std::size_t width) {
    return "Please enter no more than " + std::to_string(width) + " characters.";
}

std::optional<std::string> IdentFieldRefusal(std::string_view text, std::size_t width) {
    // Checked before the width: "é" is one character to the operator but two bytes.
    if (!IsPrintableAscii(text))
        return "Please enter only printable ASCII characters: letters A-Z and a-z, digits, "
               "spaces and punctuation.";
    if (text.size() > width)
        return MaxCharsMessage(width);
    return std::nullopt;
}

} // namespace zrn
