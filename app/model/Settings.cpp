#include "model/Settings.h"

#include "base/Text.h"

#include <fstream>
#include <optional>
#include <string_view>

namespace zrn {

namespace {

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
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (inSection)
                return std::nullopt; // only the first section of that name counts
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        EqualsIgnoreCase(TrimBlanks(line.substr(1, close - 1)), section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            EqualsIgnoreCase(TrimBlanks(line.substr(0, equals)), key))
            return std::string(TrimBlanks(line.substr(equals + 1)));
    }
    return std::nullopt;
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
    return LeadingInteger(*value, true);
}

} // namespace zrn
