#include "fleet/Journal.h"

#include "fleet/StateFiles.h"

#include <array>

namespace zrn {

const char* ChangeResultName(ChangeResult result) {
    // In the enum's order.
    static constexpr std::array<const char*, 3> kNames{"verified", "refused", "unknown"};
    const auto i = static_cast<std::size_t>(result);
    return i < kNames.size() ? kNames[i] : "unknown";
}

std::string UtcText(std::time_t t) {
    std::tm utc{};
#ifdef _WIN32
    const bool broken = ::gmtime_s(&utc, &t) == 0;
#else
    const bool broken = ::gmtime_r(&t, &utc) != nullptr;
#endif
    char text[32] = "1970-01-01T00:00:00Z";
    if (broken)
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string JournalLine(const ChangeRecord& change, std::time_t now, const std::string& user,
                        const std::string& host) {
    const Json line{{"time", UtcText(now)},
                    {"user", user},
                    {"host", host},
                    {"program", change.program},
                    {"version", change.version},
                    {"port", change.port},
                    {"device", change.device},
                    {"what", change.what},
                    {"before", change.before},
                    {"after", change.after},
                    {"result", ChangeResultName(change.result)}};
    // JSON escapes every control character, so the text holds no newline of its own.
    return JsonText(line) + "\n";
}

std::optional<std::filesystem::path> JournalFile() {
    const std::optional<std::filesystem::path> folder = StateFolder();
    if (!folder)
        return std::nullopt;
    return *folder / "changes.jsonl";
}

std::optional<std::string> RecordChange(const ChangeRecord& change) {
    const std::optional<std::filesystem::path> file = JournalFile();
    if (!file)
        return "no state folder (no home folder) for the journal of changes";
    if (const std::optional<std::string> why = MakeStateFolder(file->parent_path()))
        return "journal of changes not written: " + *why;
    const std::string line = JournalLine(change, std::time(nullptr), UserName(), HostName());
    if (const std::optional<std::string> why = AppendLocked(*file, line))
        return "journal of changes " + file->string() + " not written: " + *why;
    return std::nullopt;
}

} // namespace zrn
