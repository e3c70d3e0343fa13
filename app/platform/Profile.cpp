#include "platform/Profile.h"

#include <cctype>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>

namespace zrn {

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The raw text of the first key in the first matching section.
std::optional<std::string> FindValue(std::istream& in, std::string_view section,
                                     std::string_view key) {
    bool inSection = false;
    bool firstLine = true;
    std::string raw;
    while (std::getline(in, raw)) {
        std::string_view line = raw;
        if (firstLine && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        firstLine = false;
        line = Trim(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (inSection)
                return std::nullopt; // only the first section of that name counts
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        SameName(Trim(line.substr(1, close - 1)), section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            SameName(Trim(line.substr(0, equals)), key))
            return std::string(Trim(line.substr(equals + 1)));
    }
    return std::nullopt;
}

// Read as Windows reads a profile integer: optional sign, an optional base
// prefix ("0x", "0o", "0b"), then the leading digits of that base. Saturates
// rather than overflowing.
int LeadingInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0') {
        const char prefix = static_cast<char>(std::tolower(static_cast<unsigned char>(text[1])));
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            text.remove_prefix(2);
    }
    long long value = 0;
    for (char ch : text) {
        const int c = std::tolower(static_cast<unsigned char>(ch));
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
        if (digit >= base)
            break;
        value = value * base + digit;
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

int GetPrivateProfileInt(const std::string& section, const std::string& key, int nDefault,
                         const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return nDefault;
    const auto value = FindValue(in, section, key);
    if (!value || value->empty())
        return nDefault;
    return LeadingInteger(*value);
}

} // namespace zrn
