#include "base/Text.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace zrn {

namespace {

char Lower(char ch) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

bool IsBlank(char ch) {
    return std::isspace(static_cast<unsigned char>(ch)) != 0;
}

int DigitValue(char ch) {
    const char c = Lower(ch);
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return 99;
}

int BaseOfPrefix(std::string_view& text) {
    if (text.size() <= 2 || text[0] != '0')
        return 10;
    const char prefix = Lower(text[1]);
    const int base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10)
        text.remove_prefix(2);
    return base;
}

} // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessIgnoreCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitNonEmpty(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    while (true) {
        const std::size_t sep = text.find(separator);
        const std::string_view piece = text.substr(0, sep);
        if (!piece.empty())
            pieces.push_back(piece);
        if (sep == std::string_view::npos)
            return pieces;
        text.remove_prefix(sep + 1);
    }
}

int LeadingInteger(std::string_view text, bool bBasePrefix) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const int base = bBasePrefix ? BaseOfPrefix(text) : 10;
    long long value = 0;
    for (char ch : text) {
        const int digit = DigitValue(ch);
        if (digit >= base)
            break;
        value = value * base + digit;
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace zrn
