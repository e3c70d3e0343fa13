#include "fleet/Backup.h"

#include "fleet/Journal.h"
#include "fleet/StateFiles.h"
#include "model/PlanFile.h"

#include <optional>

namespace zrn {
namespace {

constexpr std::size_t kMostNameCharacters = 64;
constexpr int kMostSameNames = 100;

bool Plain(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string BackupName(std::string_view identification, std::time_t now) {
    std::string name;
    for (const char c : identification) {
        if (Plain(c))
            name += c;
        else if (!name.empty() && name.back() != '-')
            name += '-';
        if (name.size() >= kMostNameCharacters)
            break;
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    if (name.empty())
        name = "device";
    std::string time;
    for (const char c : UtcText(now))
        if (c != '-' && c != ':')
            time += c;
    return name + "_" + time + ".json";
}

std::variant<std::filesystem::path, std::string>
SaveBackup(std::string_view identification, const std::string& planText, std::time_t now) {
    const std::optional<std::filesystem::path> state = StateFolder();
    if (!state)
        return std::string("no state folder (no home folder) for backups");
    const std::filesystem::path folder = *state / "backups";
    if (const std::optional<std::string> why = MakeStateFolder(folder))
        return *why;
    const std::string name = BackupName(identification, now);
    const std::string stem = name.substr(0, name.size() - 5);
    for (int n = 1; n <= kMostSameNames; ++n) {
        const std::filesystem::path file =
            folder / (n == 1 ? name : stem + "_" + std::to_string(n) + ".json");
        if (!CreateNew(file)) {
            std::error_code ignored;
            if (std::filesystem::exists(file, ignored))
                continue;
            return "cannot create " + file.string();
        }
        if (const std::optional<std::string> why = WriteWhole(file, planText)) {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            return "cannot write " + file.string() + ": " + *why;
        }
        return file;
    }
    return "no free name for " + name + " in " + folder.string();
}

} // namespace zrn
