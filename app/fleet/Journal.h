#pragma once
// The journal of changes: one JSON object per line in
// <state folder>/changes.jsonl, appended whole by every program that changes
// a device, so "who changed what, when" has one answer across processes.

#include "model/PlanJson.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace zrn {

// verified: read back as sent; refused: the device said NAK; unknown: no
// answer, the line went away, or the read-back showed something else.
enum class ChangeResult { Verified, Refused, Unknown };
const char* ChangeResultName(ChangeResult result);

struct ChangeRecord {
    std::string program; // "zrnctl", "ZRNcom"
    std::string version;
    std::string port;
    std::string device; // identification and firmware
    std::string what;   // "schedule 3", "sdi", "clock"
    Json before;
    Json after;
    ChangeResult result = ChangeResult::Unknown;
};

// "2027-06-01T09:00:00Z"
std::string UtcText(std::time_t t);

// The change as its journal line, ending in a newline; the keys in the order
// time, user, host, program, version, port, device, what, before, after, result.
std::string JournalLine(const ChangeRecord& change, std::time_t now, const std::string& user,
                        const std::string& host);

std::optional<std::filesystem::path> JournalFile();

// Appends the change; nothing, or a warning saying why the journal was not
// written (the change itself stands).
std::optional<std::string> RecordChange(const ChangeRecord& change);

} // namespace zrn
