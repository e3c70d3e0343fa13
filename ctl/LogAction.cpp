#include "LogAction.h"

#include "Model.h"
#include "Result.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace zrnctl {
namespace {

std::string Text(const Json& entry, const char* key) {
    const auto it = entry.find(key);
    if (it == entry.end())
        return "";
    return it->is_string() ? it->get<std::string>() : JsonText(*it);
}

std::string Line(const Json& entry) {
    const auto shown = [&entry](const char* key) {
        const auto it = entry.find(key);
        return it == entry.end() ? std::string("null") : JsonText(*it);
    };
    return Text(entry, "time") + " " + Text(entry, "user") + "@" + Text(entry, "host") + " " +
           Text(entry, "program") + " " + Text(entry, "port") + " (" + Text(entry, "device") +
           "): " + Text(entry, "what") + " " + Text(entry, "result") + ": " + shown("before") +
           " -> " + shown("after");
}

} // namespace

std::optional<std::string> SinceTime(const std::string& text) {
    std::string t = text;
    if (!t.empty() && (t.back() == 'Z' || t.back() == 'z'))
        t.pop_back();
    if (t.size() == 10)
        t += "T00:00:00";
    if (t.size() != 19 || !ParseDateTime(t))
        return std::nullopt;
    return t + "Z";
}

int ShowLog(const Request& request) {
    const std::optional<std::filesystem::path> file = zrn::JournalFile();
    if (!file) {
        std::fprintf(stderr, "zrnctl: no state folder (no home folder): no journal of changes\n");
        return EXIT_DEVICE_FAILED;
    }
    Json changes = Json::array();
    std::size_t unreadable = 0;
    std::error_code error;
    if (std::filesystem::exists(*file, error)) {
        std::ifstream in(*file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "zrnctl: %s cannot be read\n", file->string().c_str());
            return EXIT_DEVICE_FAILED;
        }
        for (std::string line; std::getline(in, line);) {
            if (line.empty())
                continue;
            Json entry = Json::parse(line, nullptr, false);
            if (entry.is_discarded() || !entry.is_object()) {
                ++unreadable;
                continue;
            }
            const std::string port = Text(entry, "port");
            if (!request.ports.empty() &&
                std::find(request.ports.begin(), request.ports.end(), port) == request.ports.end())
                continue;
            if (!request.since.empty() && Text(entry, "time") < request.since)
                continue;
            changes.push_back(std::move(entry));
        }
    }
    if (unreadable > 0)
        std::fprintf(stderr, "zrnctl: %s: %zu lines are not journal entries, left out\n",
                     file->string().c_str(), unreadable);
    if (request.json) {
        std::printf("%s\n",
                    JsonText(Json{{"journal", file->string()}, {"changes", changes}}, 2).c_str());
        return EXIT_DONE;
    }
    for (const Json& entry : changes)
        std::printf("%s\n", Line(entry).c_str());
    std::printf("%zu %s in %s\n", changes.size(), changes.size() == 1 ? "change" : "changes",
                file->string().c_str());
    return EXIT_DONE;
}

} // namespace zrnctl
